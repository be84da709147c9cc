// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace kalibrix {

// Every message of the program: a modal box with the exclamation icon, one OK
// button and the title " Hiba történt". The box fits on the screen: a line
// longer than 200 characters (a long path or name) is shown shortened in its
// middle with "…".
void ShowErrorMessage(QWidget* parent, const QString& text);

// Replaces the modal box by the given handler, so that tests can record the
// messages instead of blocking on them; an empty handler brings the box back.
// Returns the handler that was in place.
using MessageHandler = std::function<void(QWidget* parent, const QString& text)>;
MessageHandler SetMessageHandler(MessageHandler handler);

} // namespace kalibrix
