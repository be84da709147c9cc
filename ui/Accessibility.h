#pragma once

#include "AccessibleText.h"

class QMetaObject;

namespace kalibrix {

// Makes a screen reader hear every widget of the class as a chart (its
// name and description stay those the widget is given).
void ReadAsChart(const QMetaObject& widgetClass);

} // namespace kalibrix
