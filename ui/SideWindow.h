// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

namespace kalibrix {

// A window beside the main one: the design guide, the padder design. Not
// modal, with a size grip; it never keeps the program running once the main
// window is closed. Esc and its "Bezárás" button hide it; Enter presses the
// button that holds the focus, and F1 asks for the guide. The first time it
// is shown it is placed beside the main window, within the screen; shown
// again, it opens where it was left.
class SideWindow : public QDialog {
    Q_OBJECT
public:
    // `size`: the wanted size, in logical pixels, before the screen limits it.
    SideWindow(QWidget* owner, const QString& objectName, const QString& title, const QSize& size);

    // Shows the window in front of the others, with the keyboard.
    void ShowInFront();

signals:
    void HelpRequested();

protected:
    // The "Bezárás" button, in a button box for the window's layout.
    QWidget* CloseButton();

    void keyPressEvent(QKeyEvent* event) override;

private:
    bool placed_ = false;
};

} // namespace kalibrix
