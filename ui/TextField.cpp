// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextField.h"

#include <QFocusEvent>

namespace kalibrix {

TextField::TextField(QWidget* parent) : QLineEdit(parent)
{
    // setText leaves the caret at the end, which scrolls a long text to its
    // tail; the same text set again moves the caret there too, without a
    // change of the text.
    connect(this, &QLineEdit::cursorPositionChanged, this, [this](int, int position) {
        if (position != 0 && !BeingEdited())
            home(false);
    });
}

bool TextField::BeingEdited() const
{
    return window()->focusWidget() == this;
}

void TextField::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (FocusMovedOn(*event))
        home(false);
}

bool TextField::FocusMovedOn(const QFocusEvent& event)
{
    return event.reason() != Qt::ActiveWindowFocusReason && event.reason() != Qt::PopupFocusReason;
}

} // namespace kalibrix
