// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

namespace kalibrix {

// A text field of the window. While it is not being edited it shows the
// start of its text, as a desktop text field does: after the program sets
// its text, and after the focus has moved on to another control. A result
// longer than the field thus shows its sign and first digits, not its tail.
class TextField : public QLineEdit {
    Q_OBJECT
public:
    explicit TextField(QWidget* parent = nullptr);

protected:
    void focusOutEvent(QFocusEvent* event) override;

    // Whether a focus loss moved the focus on to another control. While
    // another window is active or the context menu is open, the field keeps
    // the focus within its window, and the user's place in the text.
    static bool FocusMovedOn(const QFocusEvent& event);

private:
    // Whether the user edits the field: it holds the focus of its window, or
    // will hold it again when the window is active.
    bool BeingEdited() const;
};

} // namespace kalibrix
