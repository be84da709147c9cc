#pragma once

#include <QString>

class QWidget;

namespace kalibrix {

class TrackingCalculator;

// What a screen reader says for the window's controls beyond their captions.

// The spoken name of a text field from the label that names it: the label's
// caption for an input, and for a result field its frame's caption first,
// then the label's, then the qualifier if there is one, e.g.
// "Bemenő kör ( uH, pf ): Lb".
QString FieldName(const QString& frameCaption, const QString& labelCaption,
                  const QString& qualifier, bool isResult);

// The name and description of the circuit diagram.
QString DiagramName();
QString DiagramDescription();

// The name of the deviation graph, and its description: before a
// calculation what it will show; afterwards the band and the largest and
// smallest deviation with the input frequency of each, in the numbers the
// window shows.
QString GraphName();

// Makes a screen reader hear every widget of the class as a chart (its
// name and description stay those the widget is given).
void ReadAsChart(const QMetaObject& widgetClass);
QString GraphDescription(const TrackingCalculator& calc);

} // namespace kalibrix
