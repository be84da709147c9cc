// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TrackingSolver.h"

#include <QHash>
#include <QString>

#include <array>

namespace kalibrix {

// What the main window names, for the guide to quote: `places` holds the
// places filled as they stand (caption.NAME with the caption of control
// NAME, tab_order, results_folder), `resultNames` the control name of each
// result field, by OutputField.
struct GuideWindow {
    QHash<QString, QString> places;
    std::array<QString, kOutputFieldCount> resultNames;
};

// The design guide from the resource guide.html with every named place
// filled: the window's places, the design rules' numbers (the 30 MHz line,
// the tracking points' inset divisor 6,85), the typical designs computed by
// the solver (DESIGN.INPUT and DESIGN.RESULT as the window shows them,
// DESIGN.q and the figures of its limiting point, DESIGN.padder_q), the
// typical loaded Q ranges, the padder window's title and the results file's
// line count. Numbers are written as the default locale writes them.
QString FillGuide(const GuideWindow& window);

} // namespace kalibrix
