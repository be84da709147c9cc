// SPDX-License-Identifier: GPL-3.0-or-later
#include "SelectivityText.h"

#include "NumberText.h"
#include "Phrases.h"
#include "ThreePointTracking.h"
#include "TrackingCalculator.h"

#include <cmath>

namespace kalibrix {
namespace {

// A figure in dB as the section shows it: one decimal.
QString Db(double value, const std::string& separator)
{
    return NumberPhrase(FormatFixed(value, 1, separator), separator);
}

QString Figure(const Decibels& figure, const std::string& separator)
{
    switch (figure.bound) {
    case Bound::AtLeast:
        return QStringLiteral("> ") + Db(figure.value, separator);
    case Bound::AtMost:
        return QStringLiteral("< ") + Db(figure.value, separator);
    case Bound::Exact:
        break;
    }
    return Db(figure.value, separator);
}

QString Band(const TrackingCalculator& calc)
{
    return QStringLiteral("%1–%2 MHz")
        .arg(Text(calc.FormatMegahertz(calc.state.f_min)),
             Text(calc.FormatMegahertz(calc.state.f_max)));
}

QString RuleText(BandKind kind, const std::string& separator)
{
    const ImageRule rule = ImageRejectionRule(kind);
    return QStringLiteral("A sávhoz legalább %1 dB tükörelnyomás kell: legalább ennyit ad egy "
                          "pontosan együttfutó, %2 jóságú bemenő kör %3 MHz-en, %4 MHz-es "
                          "középfrekvenciával (az útmutató szerint).")
        .arg(GeneralNumber(rule.requiredDb, separator), GeneralNumber(rule.typicalQ, separator),
             GeneralNumber(rule.frequency / kHertzPerMegahertz, separator),
             GeneralNumber(rule.f_kf / kHertzPerMegahertz, separator));
}

QString CurveVerdict(const NamedSelectivity& curve, int circuits, BandKind kind,
                     const std::string& separator)
{
    const SelectivityFigures& figures = *curve.figures;
    const SelectivityVerdict verdict = JudgeSelectivity(figures, circuits, kind);
    QString text = curve.name + QStringLiteral(": ");
    if (!figures.imageRejection) {
        text += QStringLiteral("a tükörelnyomás nem számolható");
    } else {
        text += QStringLiteral("tükörelnyomás %1 dB, ")
                    .arg(Figure(figures.imageRejection->figure, separator));
        if (verdict.imageEnough)
            text += QStringLiteral("elég");
        else if (verdict.circuitsNeeded)
            text +=
                QStringLiteral("kevés: %1 hangolt kör kellene%2")
                    .arg(*verdict.circuitsNeeded)
                    .arg(verdict.lossWithNeeded ? QStringLiteral(" (a veszteség azokkal %1 dB)")
                                                      .arg(Db(*verdict.lossWithNeeded, separator))
                                                : QString());
        else
            text += QStringLiteral("kevés, és több hangolt kör sem segít: az elhangolódás miatt a "
                                   "tükörfrekvencia nem gyengül jobban a jelnél");
    }
    if (figures.loss) {
        text += QStringLiteral("; veszteség %1 dB, ").arg(Figure(figures.loss->figure, separator));
        text += verdict.lossAcceptable
                    ? QStringLiteral("elfogadható")
                    : QStringLiteral("több a %1 dB-es határnál: ehhez a jósághoz pontosabb "
                                     "együttfutás kell")
                          .arg(Db(AcceptableLossDb(), separator));
    }
    return text + u'.';
}

const QString kRejectionNames[] = {QStringLiteral("tükörelnyomás legalább"),
                                   QStringLiteral("veszteség legfeljebb"),
                                   QStringLiteral("kf-elnyomás legalább")};

} // namespace

QString SelectivityCaption(SelectivityFigure figure)
{
    switch (figure) {
    case SelectivityFigure::Loss:
        return QStringLiteral("Elhangolódási veszteség legfeljebb (dB)");
    case SelectivityFigure::IfRejection:
        return QStringLiteral("Kf-elnyomás legalább (dB)");
    case SelectivityFigure::Image:
        break;
    }
    return QStringLiteral("Tükörelnyomás legalább (dB)");
}

QString SelectivityFieldName(SelectivityFigure figure, const QString& curve)
{
    return SelectivityCaption(figure) + QStringLiteral(": ") + curve;
}

QString SelectivityFieldText(const std::optional<SelectivityExtreme>& extreme,
                             const TrackingCalculator& calc)
{
    if (!extreme)
        return {};
    return QStringLiteral("%1 (%2)").arg(Figure(extreme->figure, calc.decimalSeparator),
                                         MegahertzText(extreme->f_be, calc));
}

QString TypicalQText(const TrackingCalculator& calc)
{
    return GeneralNumber(TypicalLoadedQ(KindOfBand(calc.state.f_min)).low, calc.decimalSeparator);
}

std::optional<double> ReadQ(const QString& text)
{
    bool ok = false;
    const double Q = QString(text).replace(u',', u'.').trimmed().toDouble(&ok);
    if (!ok || !(Q > 0.0) || !std::isfinite(Q))
        return std::nullopt;
    return Q;
}

QString InvalidQText()
{
    return QStringLiteral("A „%1” mezőbe pozitív számot kell írni; addig nincs szelektivitási "
                          "adat.")
        .arg(kQFieldName);
}

QString SelectivityVerdictText(const std::vector<NamedSelectivity>& curves, int circuits,
                               const TrackingCalculator& calc)
{
    const BandKind kind = KindOfBand(calc.state.f_min);
    QString text = RuleText(kind, calc.decimalSeparator);
    for (const NamedSelectivity& curve : curves)
        if (curve.figures)
            text += u' ' + CurveVerdict(curve, circuits, kind, calc.decimalSeparator);
    return text;
}

QString SelectivityGraphDescription(const std::vector<NamedSelectivity>& curves,
                                    const TrackingCalculator& calc)
{
    QString text = QStringLiteral("Grafikon: a tükörelnyomás dB-ben, a %1 sávban, balra fmin, "
                                  "jobbra fmax.")
                       .arg(Band(calc));
    for (const NamedSelectivity& curve : curves)
        if (curve.figures && curve.figures->imageRejection)
            text += QStringLiteral(" %1: legkisebb %2 dB, %3-en.")
                        .arg(curve.name,
                             Figure(curve.figures->imageRejection->figure, calc.decimalSeparator),
                             MegahertzText(curve.figures->imageRejection->f_be, calc));
    return text;
}

QString NoSelectivityGraph()
{
    return QStringLiteral("Grafikon: nincs megjeleníthető tükörelnyomás.");
}

QStringList SelectivityFileLines(const QString& qText, int circuits,
                                 const std::vector<NamedSelectivity>& curves,
                                 const TrackingCalculator& calc)
{
    QStringList lines{QStringLiteral("%1: %2 = %3, %4 = %5")
                          .arg(kSelectivityTitle, kQFieldName, qText, kCircuitsName.toLower())
                          .arg(circuits)};
    const std::optional<double> Q = ReadQ(qText);
    if (!Q)
        return lines << InvalidQText();
    for (const NamedSelectivity& curve : curves)
        for (const SelectivityFigure figure : kSelectivityFigures)
            lines << QStringLiteral("%1 = %2").arg(
                SelectivityFieldName(figure, curve.name),
                curve.figures ? SelectivityFieldText(ExtremeOf(*curve.figures, figure), calc)
                              : QString());
    return lines << QStringLiteral("Értékelés: ") + SelectivityVerdictText(curves, circuits, calc);
}

void AddSelectivityPlaces(QHash<QString, QString>& places, const std::string& separator)
{
    for (const BandKind kind : {BandKind::BelowVhf, BandKind::Vhf}) {
        const ImageRule rule = ImageRejectionRule(kind);
        const QString prefix =
            kind == BandKind::Vhf ? QStringLiteral("rule.vhf.") : QStringLiteral("rule.below_vhf.");
        places[prefix + QStringLiteral("db")] = GeneralNumber(rule.requiredDb, separator);
        places[prefix + QStringLiteral("q")] = GeneralNumber(rule.typicalQ, separator);
        places[prefix + QStringLiteral("f")] =
            GeneralNumber(rule.frequency / kHertzPerMegahertz, separator);
        places[prefix + QStringLiteral("f_kf")] =
            GeneralNumber(rule.f_kf / kHertzPerMegahertz, separator);
    }
    places[QStringLiteral("rule.loss")] = Db(AcceptableLossDb(), separator);
    // A 25 MHz station behind one circuit of Q 50 with three IFs.
    for (const auto& [key, f_kf] :
         {std::pair{"sw25.if455", 0.455e6}, std::pair{"sw25.if1600", 1.6e6},
          std::pair{"sw25.if10700", 10.7e6}})
        places[QString::fromLatin1(key)] = Db(IdealImageRejectionDb(50.0, 25e6, f_kf), separator);
}

void AddDesignSelectivityPlaces(const TrackingCalculator& calc, const QString& prefix,
                                QHash<QString, QString>& places)
{
    const CalculationState& s = calc.state;
    const std::string& separator = calc.decimalSeparator;
    const double Q = TypicalLoadedQ(KindOfBand(s.f_min)).low;
    const auto put = [&](const char* name, const QString& value) {
        places[prefix + QString::fromLatin1(name)] = value;
    };
    const SelectivityFigures ideal = FiguresOfSelectivity(Q, 1, s.f_kf, s.fbe_curve, SweepTable{});
    const SelectivityFigures one = FiguresOfSelectivity(Q, 1, s.f_kf, s.fbe_curve, s.elt_curve);
    const SelectivityFigures two = FiguresOfSelectivity(Q, 2, s.f_kf, s.fbe_curve, s.elt_curve);
    put("sel_q", GeneralNumber(Q, separator));
    if (!one.imageRejection || !one.loss || !one.ifRejection || !ideal.ifRejection)
        return;
    const SelectivityExtreme& worst = *one.imageRejection;
    put("ideal_image_at_worst", Db(TableAt(ideal.imageCurve, worst.step), separator));
    put("image", Figure(worst.figure, separator));
    put("image_at", Text(calc.FormatMegahertz(worst.f_be)));
    // The station the oscillator converts there, f_be + d, in kHz.
    put("converted_khz",
        Text(FormatFixed((worst.f_be + TableAt(s.elt_curve, worst.step)) / 1e3, 0, separator)));
    put("loss", Figure(one.loss->figure, separator));
    put("ideal_if", Figure(ideal.ifRejection->figure, separator));
    put("if", Figure(one.ifRejection->figure, separator));
    if (two.imageRejection && two.loss) {
        put("image_2", Figure(two.imageRejection->figure, separator));
        put("loss_2", Figure(two.loss->figure, separator));
    }
    const SelectivityVerdict verdict = JudgeSelectivity(one, 1, KindOfBand(s.f_min));
    if (verdict.circuitsNeeded)
        put("circuits_needed", QString::number(*verdict.circuitsNeeded));
    try {
        const ThreePointDesign padder = DesignThreePoint(s, PointPlacement::LargestUsableQ);
        const SelectivityFigures three =
            FiguresOfSelectivity(Q, 1, s.f_kf, s.fbe_curve, padder.curve.deviation);
        if (three.imageRejection && three.loss) {
            put("padder_image", Figure(three.imageRejection->figure, separator));
            put("padder_loss", Figure(three.loss->figure, separator));
        }
    } catch (const ThreePointError&) {
        // No padder design, no padder places: the guide names them for the
        // designs that have one.
    }
}

} // namespace kalibrix
