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

// `text` centred over step x with its bottom at y.
void PrintAbove(PictureSurface& surface, double x, double y, const QString& text, const QFont& font,
                const QColor& colour, QPointF perPixel)
{
    const QFontMetrics metrics(font);
    surface.PSet(x - 0.5 * metrics.horizontalAdvance(text) * perPixel.x(),
                 y - metrics.height() * perPixel.y(), colour);
    surface.Print(text, font, colour);
}

} // namespace

double StepOfFrequency(double f, const CalculationState& s)
{
    return (s.f_max - f) / (s.f_max - s.f_min) * static_cast<double>(kSweepIntervals);
}

void DrawBand(PictureSurface& surface, const GraphBand& band, double H)
{
    for (std::size_t i = 0; i < kSweepSteps; ++i) {
        const double low = std::clamp(band.lowest[i], -H, H);
        const double high = std::clamp(band.highest[i], -H, H);
        surface.Line(static_cast<double>(i), low, static_cast<double>(i), high, band.colour);
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
        surface.PSet(static_cast<double>(kSweepIntervals),
                     -H - QFontMetrics(font).height() * perPixel.y() + tick, foreground);
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
