// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AccessibleText.h"

class QMetaObject;

namespace kalibrix {

// The deviation graph's description (see MainGraphDescription), naming the
// "Számol" button by its caption.
QString GraphDescription(const TrackingCalculator& calc);

// Makes a screen reader hear every widget of the class as a chart (its
// name and description stay those the widget is given).
void ReadAsChart(const QMetaObject& widgetClass);

} // namespace kalibrix
