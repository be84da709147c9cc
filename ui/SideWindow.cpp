// SPDX-License-Identifier: GPL-3.0-or-later
#include "SideWindow.h"

#include "ScreenFit.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QShortcut>

namespace kalibrix {

SideWindow::SideWindow(QWidget* owner, const QString& objectName, const QString& title,
                       const QSize& size)
    : QDialog(owner)
{
    setObjectName(objectName);
    setWindowTitle(title);
    setAccessibleName(title);
    setModal(false);
    setSizeGripEnabled(true);
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(size);
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            &SideWindow::HelpRequested);
}

void SideWindow::ShowInFront()
{
    if (!placed_) {
        PlaceBeside(*this, *parentWidget());
        placed_ = true;
    }
    show();
    raise();
    activateWindow();
}

// No button is a default button: Enter in a field presses none of them.
QWidget* SideWindow::CloseButton()
{
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close =
        buttons->addButton(QStringLiteral("Bezárás"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("close"));
    close->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    return buttons;
}

// Enter reaches the window when the focused control leaves it unused: a
// button without a default role does, and Enter presses it as Space does.
void SideWindow::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    auto* button = qobject_cast<QAbstractButton*>(focusWidget());
    if (enter && button && button->isEnabled()) {
        button->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace kalibrix
