// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QColor;
class QLabel;
class QWidget;

namespace kalibrix {

// A label of changing text, wrapped and selectable with the mouse; a screen
// reader reads the text as its name.
QLabel* WrappedLabel(QWidget* parent, const QString& objectName);

// A curve's colour as a square before its name in a legend (rich text).
QString Swatch(const QColor& colour);

} // namespace kalibrix
