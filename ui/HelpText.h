#pragma once

#include <QString>

namespace kalibrix {

class TrackingCalculator;

// The Hungarian texts of the help window, as HTML.

// What the last press of "Számol" left for the notes to speak of.
enum class LastRun {
    None,     // no press yet
    Failed,   // the last press stopped before its sweep ran through
    Complete, // the last press swept the whole band
};

// The target of the link in the notes that asks for a padder design.
inline constexpr char kPadderLink[] = "kalibrix:padder";

// Notes on the design in the calculator: the extreme deviations, the largest
// relative deviation, the input-circuit Q the mistuning allows against the
// band's typical loaded Q, the negative components and the verdict, with a
// link to kPadderLink where a padder helps. Numbers are written with the
// calculator's decimal separator and the default locale's digit grouping.
QString DesignNotesHtml(const TrackingCalculator& calc, LastRun lastRun);

// The design guide from the resource guide.html with every named place
// filled: the captions of the main window, the tab order, the typical
// designs computed by the solver, the results file in `resultsFolder` and its
// line count. Numbers are written as the default locale writes them.
QString GuideHtml(const QString& resultsFolder);

} // namespace kalibrix
