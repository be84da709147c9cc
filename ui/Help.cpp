#include "Help.h"

#include "HelpText.h"
#include "PadderLink.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace kalibrix {

QDialogButtonBox* CloseButton(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox(dialog);
    buttons->addButton(QStringLiteral("Bezárás"), QDialogButtonBox::RejectRole)
        ->setAutoDefault(false);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

HelpWindow::HelpWindow(QWidget* parent)
    : QDialog(parent),
      guideHtml_(GuideHtml(QDir::toNativeSeparators(
          QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("adatok")))))
{
    setObjectName(QStringLiteral("help"));
    setWindowTitle(QStringLiteral("Kalibrix – segítség"));
    setAccessibleName(windowTitle());
    setModal(false);
    setSizeGripEnabled(true);
    // The help never keeps the program running once the main window is closed.
    setAttribute(Qt::WA_QuitOnClose, false);

    text_ = new QTextBrowser(this);
    text_->setObjectName(QStringLiteral("helpText"));
    text_->setAccessibleName(QStringLiteral("Segítség szövege"));
    text_->setOpenLinks(false);
    text_->setTabChangesFocus(true);
    connect(text_, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
        if (link.toString() == kPadderLink)
            emit PadderRequested();
    });

    // Enter in the text must not close the window; only Esc and the button do.
    QDialogButtonBox* buttons = CloseButton(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(buttons);
    // Text lines of about 80 characters, and most of a 1024-pixel-high screen.
    resize(620, 720);
}

void HelpWindow::SetNotes(const QString& notesHtml)
{
    const int scrolled = text_->verticalScrollBar()->value();
    text_->setHtml(notesHtml + guideHtml_);
    text_->verticalScrollBar()->setValue(scrolled);
}

} // namespace kalibrix
