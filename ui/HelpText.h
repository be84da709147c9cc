// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DesignNotes.h"

#include <QString>

namespace kalibrix {

class TrackingCalculator;

// The help window's texts, with what the main window names in them: the
// "Számol" button's caption, every control's caption and the tab order.

// Notes on the design in the calculator (see NotesHtml).
QString DesignNotesHtml(const TrackingCalculator& calc, LastRun lastRun);

// The design guide (see FillGuide), with the results file in `resultsFolder`.
QString GuideHtml(const QString& resultsFolder);

} // namespace kalibrix
