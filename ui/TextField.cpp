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
    // While another window is active or the context menu is open the field
    // keeps the focus of its window and the user's place in the text.
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        home(false);
}

} // namespace kalibrix
