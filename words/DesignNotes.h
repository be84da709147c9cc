// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace kalibrix {

class TrackingCalculator;

// What the last press of "Számol" left for the notes to speak of.
enum class LastRun {
    None,     // no press yet
    Failed,   // the last press stopped before its sweep ran through
    Complete, // the last press swept the whole band
};

// The target of the link in the notes that asks for a padder design.
inline constexpr char kPadderLink[] = "kalibrix:padder";
// The target of the link that asks for the padder window in bandspread mode.
inline constexpr char kBandspreadLink[] = "kalibrix:bandspread";

// The help's notes on the design in the calculator, as HTML: the extreme
// deviations, the largest relative deviation, the input-circuit Q the
// mistuning allows against the band's typical loaded Q, the negative
// components and the verdict, with a link to kPadderLink where a padder
// helps, and the advice to use bandspread, with a link to kBandspreadLink,
// for a design that should. Before a first run they ask for one, naming the button by
// `startCaption`; after a failed run they say so (swapped band edges by
// name).
QString NotesHtml(const TrackingCalculator& calc, LastRun lastRun, const QString& startCaption);

} // namespace kalibrix
