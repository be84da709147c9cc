// SPDX-License-Identifier: GPL-3.0-or-later
#include "Help.h"

#include "HelpText.h"
#include "ResultsFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>

namespace kalibrix {

HelpWindow::HelpWindow(QWidget* parent)
    // Text lines of about 80 characters, and most of a 1024-pixel-high screen.
    : SideWindow(parent, QStringLiteral("help"), QStringLiteral("Súgó"), QSize(620, 720)),
      guideHtml_(GuideHtml(
          QDir::toNativeSeparators(ResultsFolder(QCoreApplication::applicationDirPath()))))
{

    text_ = new QTextBrowser(this);
    text_->setObjectName(QStringLiteral("helpText"));
    text_->setAccessibleName(QStringLiteral("A súgó szövege"));
    text_->setOpenLinks(false);
    text_->setTabChangesFocus(true);
    connect(text_, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
        if (link.toString() == QLatin1String(kPadderLink))
            emit PadderRequested();
        else if (link.toString() == QLatin1String(kBandspreadLink))
            emit BandspreadRequested();
    });
    QTextDocument guide;
    guide.setHtml(guideHtml_);
    guideLength_ = guide.characterCount();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(CloseButton());
}

HelpWindow::Place HelpWindow::TopOfView() const
{
    const QTextCursor top = text_->cursorForPosition(QPoint(0, 0));
    return {top.position(), text_->cursorRect(top).top()};
}

// The reader's place is the text position at the top of the view: inside the
// guide it is kept at its distance from the end, which the notes above do not
// change; inside the notes at its distance from the start, within the new
// notes. The line at that position keeps its pixel offset from the top.
void HelpWindow::SetNotes(const QString& notesHtml)
{
    if (!pending_ && text_->document()->isEmpty()) {
        // The first text opens at its top.
        text_->setHtml(notesHtml + guideHtml_);
        return;
    }
    const Place top = pending_ ? *pending_ : TopOfView();
    const int fromEnd = text_->document()->characterCount() - top.position;

    text_->setHtml(notesHtml + guideHtml_);
    const int newLength = text_->document()->characterCount();
    const int notesLength = std::max(0, newLength - guideLength_);
    const int position =
        fromEnd <= guideLength_ ? newLength - fromEnd : std::min(top.position, notesLength);
    pending_ = Place{std::clamp(position, 0, newLength - 1), top.offset};
    if (isVisible())
        ShowPlace();
}

void HelpWindow::ShowPlace()
{
    QTextCursor place(text_->document());
    place.setPosition(pending_->position);
    QScrollBar* scroll = text_->verticalScrollBar();
    scroll->setValue(scroll->value() + text_->cursorRect(place).top() - pending_->offset);
    pending_.reset();
}

void HelpWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (pending_)
        ShowPlace();
    text_->setFocus(Qt::OtherFocusReason);
}

} // namespace kalibrix
