#pragma once

#include <QString>

namespace kalibrix {

class TrackingCalculator;

// The Hungarian texts of the help window, as HTML.

// Notes on the design in the calculator: the extreme deviations, the largest
// relative deviation, the input-circuit Q the mistuning allows, the negative
// components and a verdict, with a link to the padder window where a padder
// would help. `sweepCurrent` says whether the last calculation
// completed its sweep; while it has not, the notes say that there are no
// results yet.
QString DesignNotesHtml(const TrackingCalculator& calc, bool sweepCurrent);

// The design guide: the method, the inputs with typical values, the outputs,
// how to judge the deviation, padders, negative values, the error message,
// the display precision, the results file in `resultsFolder`, the keyboard.
QString GuideHtml(const QString& resultsFolder);

} // namespace kalibrix
