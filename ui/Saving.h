// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

#include <functional>

class QLineEdit;

namespace kalibrix {

// A save of either window under the name typed in `name`: an empty name is
// refused with the message that asks for one, and the field takes the focus;
// otherwise the lines that `lines` gives are written under that name in the
// results folder beside the program, and a failed save shows its reason.
void SaveUnderName(QLineEdit& name, const std::function<QStringList()>& lines);

} // namespace kalibrix
