// SPDX-License-Identifier: GPL-3.0-or-later
#include "AccessibleText.h"

#include "DesignFigures.h"
#include "NumberText.h"
#include "Phrases.h"
#include "TrackingCalculator.h"

#include <optional>

namespace kalibrix {

QString FieldName(const QString& frameCaption, const QString& labelCaption,
                  const QString& qualifier, bool isResult)
{
    QString name = labelCaption.trimmed();
    if (isResult)
        name = frameCaption + QStringLiteral(": ") + name;
    if (!qualifier.isEmpty())
        name += QStringLiteral(" – ") + qualifier;
    return name;
}

QString DiagramName()
{
    return QStringLiteral("Kapcsolási rajz");
}

QString DiagramDescription()
{
    return QStringLiteral(
        "Két párhuzamos rezgőkör: a bemenő kör a Ch hangolókondenzátorral, a Cp_b "
        "trimmerrel és az Lb tekerccsel, az oszcillátorkör a Ch hangolókondenzátorral, "
        "a Cp_o trimmerrel és az Lo tekerccsel. A két hangolókondenzátor közös "
        "tengelyen forog.");
}

QString GraphName()
{
    return QStringLiteral("A bemenőkör elhangolódása");
}

// The main graph's description writes its numbers as the main window's
// fields do, which the description is read beside.
QString MainGraphDescription(const TrackingCalculator& calc, const QString& startCaption)
{
    const CalculationState& s = calc.state;
    const std::optional<DesignFigures> figures = FiguresOfDesign(s);
    if (s.L_b == 0.0 || !figures)
        return QStringLiteral("Grafikon: a bemenő kör eltérése, (fosz - fkf) - fbe, a sávban. "
                              "A %1 gomb után jelenik meg.")
            .arg(startCaption);

    const auto extreme = [&](const SweepPoint& point) {
        return QStringLiteral("%1 Hz, %2 MHz-nél")
            .arg(Text(FormatGeneral(point.deviation, calc.decimalSeparator)),
                 Text(calc.FormatMegahertz(point.frequency)));
    };
    return QStringLiteral(
               "Grafikon: a bemenő kör eltérése, (fosz - fkf) - fbe, a %1–%2 MHz sávban, "
               "balra %1 MHz, jobbra %2 MHz. Legnagyobb eltérés: %3. Legkisebb eltérés: %4.")
        .arg(Text(calc.FormatMegahertz(s.f_min)), Text(calc.FormatMegahertz(s.f_max)),
             extreme(figures->highest), extreme(figures->lowest));
}

QString ThreePointCurveName()
{
    return QStringLiteral("hárompontos");
}

QString E24ShortName()
{
    return QStringLiteral("E24-es padder");
}

QString E24CurveName(const ThreePointDesign& design, const TrackingCalculator& calc)
{
    return QStringLiteral("%1 (%2 pF)")
        .arg(E24ShortName(),
             GeneralNumber(design.e24.nominal / kFaradPerPicofarad, calc.decimalSeparator));
}

QString TwoPointShortName()
{
    return QStringLiteral("kétpontos");
}

QString TwoPointCurveName()
{
    return TwoPointShortName() + QStringLiteral(" (csak trimmer)");
}

QString LegendEntry(const QString& name, const PadderCurve& curve, const TrackingCalculator& calc)
{
    return QStringLiteral("%1, használható jóság: %2")
        .arg(name, StatedQText(curve.statedQ, calc.decimalSeparator));
}

QString PadderGraphDescription(const QStringList& names,
                               const std::vector<const PadderCurve*>& curves,
                               const TrackingCalculator& calc)
{
    const std::string& separator = calc.decimalSeparator;
    QString text = QStringLiteral("Grafikon: a bemenő kör eltérése, (fosz − fkf) − fbe, a %1 "
                                  "sávban, balra fmin, jobbra fmax.")
                       .arg(BandText(calc));
    for (std::size_t i = 0; i < curves.size(); ++i)
        text += QStringLiteral(" %1: legnagyobb %2 Hz, legkisebb %3 Hz, használható jóság %4.")
                    .arg(names[static_cast<qsizetype>(i)],
                         GeneralNumber(curves[i]->largestPositive, separator),
                         GeneralNumber(curves[i]->largestNegative, separator),
                         StatedQText(curves[i]->statedQ, separator));
    return text;
}

QString EmptyPadderGraphDescription()
{
    return QStringLiteral("Grafikon: nincs megjeleníthető terv.");
}

} // namespace kalibrix
