// SPDX-License-Identifier: GPL-3.0-or-later
#include "PadderGraphMarks.h"

#include "PictureSurface.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>

namespace kalibrix {

namespace {

// Logical pixels: a tick's length, a mark's half length.
constexpr double kTickPixels = 5.0;
constexpr double kMarkPixels = 7.0;
// The step at the graph's left edge, f_min.
constexpr double kLeftEdge = kSweepIntervals;
// Marks with one label closer than this many steps share it.
constexpr double kMarkSpacing = 10.0;

// User units per logical pixel along x (negative: the steps run backwards)
// and y (negative: y grows upwards).
QPointF UnitsPerPixel(const PictureSurface& surface)
{
    const std::optional<QPointF> origin = surface.UserPoint(QPointF(0.0, 0.0));
    const std::optional<QPointF> next = surface.UserPoint(QPointF(1.0, 1.0));
    if (!origin || !next)
        return {};
    return *next - *origin;
}

// `text` centred over step x with its bottom at y, moved inwards where it
// would cross the graph's left or right edge.
void PrintAbove(PictureSurface& surface, double x, double y, const QString& text, const QFont& font,
                const QColor& colour, QPointF perPixel)
{
    const QFontMetrics metrics(font);
    // The text's width in steps; steps fall to the right.
    const double width = -metrics.horizontalAdvance(text) * perPixel.x();
    const double left = std::clamp(x + 0.5 * width, std::min(width, kLeftEdge), kLeftEdge);
    surface.PSet(left, y - metrics.height() * perPixel.y(), colour);
    surface.Print(text, font, colour);
}

} // namespace

double StepOfFrequency(double f, const CalculationState& s)
{
    return (s.f_max - f) / (s.f_max - s.f_min) * kLeftEdge;
}

void DrawBand(PictureSurface& surface, const GraphBand& band, double H)
{
    // Upright lines at a quarter of a step apart, between neighbouring steps'
    // values drawn straight: closer than a device pixel even at scale 2, so
    // that the band reads as one shade.
    constexpr int kLinesPerStep = 4;
    for (std::size_t i = 0; i + 1 < kSweepSteps; ++i)
        for (int k = 0; k < kLinesPerStep; ++k) {
            const double t = static_cast<double>(k) / kLinesPerStep;
            const auto at = [&](const SweepTable& table) {
                return std::clamp(table[i] + t * (table[i + 1] - table[i]), -H, H);
            };
            const double x = static_cast<double>(i) + t;
            surface.Line(x, at(band.lowest), x, at(band.highest), band.colour);
        }
}

void DrawTicksAndMarks(PictureSurface& surface, const GraphMarks& marks, double H,
                       const QFont& font, const QColor& foreground)
{
    const QPointF perPixel = UnitsPerPixel(surface);
    const double tick = -kTickPixels * perPixel.y();
    for (const GraphTick& t : marks.ticks) {
        surface.Line(t.step, -H, t.step, -H + tick, foreground);
        PrintAbove(surface, t.step, -H + tick, t.label, font, foreground, perPixel);
    }
    if (!marks.axisUnit.isEmpty()) {
        surface.PSet(kLeftEdge, -H - QFontMetrics(font).height() * perPixel.y() + tick, foreground);
        surface.Print(QStringLiteral(" ") + marks.axisUnit, font, foreground);
    }
    const double half = -kMarkPixels * perPixel.y();
    std::vector<const GraphMark*> drawn;
    for (const GraphMark& m : marks.marks) {
        if (std::ranges::any_of(drawn, [&](const GraphMark* d) {
                return d->label == m.label && std::abs(d->step - m.step) < kMarkSpacing;
            }))
            continue;
        drawn.push_back(&m);
        surface.Line(m.step, -half, m.step, half, m.colour);
        if (m.above) {
            PrintAbove(surface, m.step, half, m.label, font, m.colour, perPixel);
        } else {
            surface.PSet(m.step
                             - 0.5 * QFontMetrics(font).horizontalAdvance(m.label) * perPixel.x(),
                         -half, m.colour);
            surface.Print(m.label, font, m.colour);
        }
    }
}

} // namespace kalibrix
