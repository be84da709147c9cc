// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CalculationState.h"

#include <QColor>
#include <QString>

#include <optional>
#include <vector>

class QFont;

namespace kalibrix {

class PictureSurface;

// What the padder graph draws beside its curves, in sweep steps (step 0 at
// f_max, the right edge): a band of deviations shaded behind the curves, the
// frequency axis's labelled ticks, and marks at the points where curves track
// or are aligned.
struct GraphBand {
    SweepTable lowest{};  // Hz per step
    SweepTable highest{}; // Hz per step
    QColor colour;
};

struct GraphTick {
    double step = 0.0;
    QString label;
};

struct GraphMark {
    double step = 0.0;
    QString label; // "F2", "A1"
    QColor colour;
    bool above = true; // the label above the zero line, else below it
};

struct GraphMarks {
    std::optional<GraphBand> band;
    std::vector<GraphTick> ticks;
    QString axisUnit; // written beside the ticks: "kHz"
    std::vector<GraphMark> marks;
};

// The sweep step (fractional) at which the input circuit runs at f (Hz):
// (f_max - f) / (f_max - f_min) * 499.
double StepOfFrequency(double f, const CalculationState& s);

// On a surface scaled by DrawDeviationGrid for the axis limit H: the band,
// each step's stretch between its lowest and highest value held within +-H.
void DrawBand(PictureSurface& surface, const GraphBand& band, double H);
// The ticks along the bottom edge with their labels above them, the unit at
// the left, and each mark as a short upright line across the zero line with
// its label above or below it. A mark with the same label as one drawn within
// ten steps is left out, so that labels do not cover each other.
void DrawTicksAndMarks(PictureSurface& surface, const GraphMarks& marks, double H,
                       const QFont& font, const QColor& foreground);

} // namespace kalibrix
