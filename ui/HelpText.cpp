#include "HelpText.h"

#include "Accessibility.h"
#include "DesignFigures.h"
#include "DesignVerdict.h"
#include "Form1Fields.h"
#include "Form1Layout.h"
#include "InputFields.h"
#include "NumberText.h"
#include "PadderText.h"
#include "ResultsFileFormat.h"
#include "SelectivityText.h"
#include "ThreePointTracking.h"
#include "TrackingCalculator.h"
#include "TrackingSolver.h"

#include <QFile>
#include <QHash>
#include <QLocale>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cmath>

namespace kalibrix {
namespace {

// The line count of a results file: the date line, then one line per field.
constexpr std::size_t kResultsFileLineCount = kResultsFileLines.size() + 1;

QString Text(const std::string& text)
{
    return QString::fromStdString(text);
}

// A number as formatted by the calculation, its digits grouped as the default
// locale groups them (Hungarian: a no-break space, "70 217,63"; the C locale
// does not group).
QString Grouped(const std::string& number, const std::string& decimalSeparator)
{
    const QLocale locale;
    const std::string group = locale.numberOptions().testFlag(QLocale::OmitGroupSeparator)
                                  ? std::string()
                                  : locale.groupSeparator().toStdString();
    return Text(GroupDigits(number, decimalSeparator, group));
}

QString General(double x, const std::string& decimalSeparator)
{
    return Grouped(FormatGeneral(x, decimalSeparator), decimalSeparator);
}

// A ratio in per cent to three significant digits (14.3, 0.0894, 0.00328),
// so that small relative deviations keep their digits.
QString Percent(double ratio, const std::string& separator)
{
    const double percent = 100.0 * ratio;
    const int decimals = std::clamp(2 - static_cast<int>(std::floor(std::log10(percent))), 0, 12);
    return Grouped(FormatFixed(percent, decimals, separator), separator);
}

QString TypicalRange(const TypicalQ& typical, const std::string& separator)
{
    return General(typical.low, separator) + QStringLiteral("–") + General(typical.high, separator);
}

QString DeviationLine(const QString& what, const SweepPoint& point, const TrackingCalculator& calc)
{
    return QStringLiteral("<li>%1: %2 Hz, %3 MHz-nél.</li>")
        .arg(what, General(point.deviation, calc.decimalSeparator),
             Text(calc.FormatMegahertz(point.frequency)));
}

QString BandLine(BandKind kind, const std::string& separator)
{
    const QString range = TypicalRange(TypicalLoadedQ(kind), separator);
    switch (kind) {
    case BandKind::BelowVhf:
        return QStringLiteral("<li>A 30 MHz alatti (hosszú-, közép- és rövidhullámú) bemenő "
                              "körök terhelt jósága jellemzően %1.</li>")
            .arg(range);
    case BandKind::Vhf:
        return QStringLiteral("<li>Az URH bemenő körök terhelt jósága jellemzően csak %1; egy "
                              "terheletlen URH-tekercsé is csak 100–200.</li>")
            .arg(range);
    }
    return {};
}

// The verdict in words: %1 the stated usable Q, %2 the band's typical loaded
// Q as a range.
QString VerdictSentence(Verdict verdict, const QString& q, const QString& typical)
{
    switch (verdict) {
    case Verdict::NoMistuning:
        return QStringLiteral("Az elhangolódás nem korlátozza a bemenő kör jóságát: bármilyen "
                              "jóságú körrel működik, padder nem kell.");
    case Verdict::TrimmersEnough:
        return QStringLiteral("A terv legfeljebb Q = %1 jósági tényezőt enged meg, ez a bemenő kör "
                              "jellemző terhelt jóságának (%2) felső határát is eléri: csak "
                              "trimmeres kiegyenlítéssel is jól működik, padder nem kell.")
            .arg(q, typical);
    case Verdict::TrimmersForLowQ:
        return QStringLiteral("A terv legfeljebb Q = %1 jósági tényezőt enged meg, a bemenő kör "
                              "jellemző terhelt jósága pedig %2: a gyengébb körökkel csak "
                              "trimmeres kiegyenlítéssel is működik, a jobbakhoz padder kell.")
            .arg(q, typical);
    case Verdict::PadderNeeded:
        return QStringLiteral("A terv legfeljebb Q = %1 jósági tényezőt enged meg, a bemenő kör "
                              "jellemző terhelt jósága viszont %2. Csak trimmeres kiegyenlítéssel "
                              "az elhangolódás a sáv egy részén 3 dB-nél nagyobb veszteséget "
                              "okoz: padder kell.")
            .arg(q, typical);
    case Verdict::BandEdgesSwapped:
        return QStringLiteral("A terv így nem építhető meg: az fmin nagyobb, mint az fmax, a sáv "
                              "szélei fel vannak cserélve, ezért negatív az Lb, az Lo és a "
                              "trimmerek értéke. Cserélje fel a két frekvenciát.");
    case Verdict::CapacitorRangeShort:
        return QStringLiteral("A terv így nem építhető meg, mert negatív kapacitású trimmer nem "
                              "létezik: a hangolókondenzátor tartománya nem fogja át a sávot. "
                              "Válasszon nagyobb kapacitásarányú hangolókondenzátort, csökkentse "
                              "a szórt kapacitást, vagy szűkítse a sávot (fmin, fmax).");
    case Verdict::OscillatorTrimmerNegative:
        return QStringLiteral("A terv így nem építhető meg, mert negatív kapacitású trimmer nem "
                              "létezik. Pozitív középfrekvenciánál a Cp_o nem lehet negatív, ha a "
                              "Cp_b nem az: ellenőrizze a középfrekvencia előjelét, vagy "
                              "csökkentse a szórt kapacitást.");
    case Verdict::TuningCapacitanceNegative:
        return QStringLiteral("A terv így nem építhető meg: a hangolókondenzátor kapacitása nem "
                              "lehet negatív. Adja meg a C_h_min valódi, pozitív értékét.");
    }
    return {};
}

QString NegativeLine(const NegativeComponent& negative, const TrackingCalculator& calc)
{
    const QString value = Text(calc.FormatValue(negative.picofarad)) + QStringLiteral(" pF");
    switch (negative.component) {
    case Component::Cp_b:
        return QStringLiteral("A Cp_b negatív (%1): a hangolókondenzátor kapacitásaránya a szórt "
                              "kapacitással együtt is kisebb a sáv frekvenciaarányának "
                              "négyzeténél, (C_h_max + C_sz) / (C_h_min + C_sz) &lt; "
                              "(fmax / fmin)².")
            .arg(value);
    case Component::Cp_o:
        return QStringLiteral(
                   "A Cp_o negatív (%1): az oszcillátorkörnek kevesebb párhuzamos kapacitás "
                   "kellene, mint maga a szórt kapacitás, mert (Ch1 + C_sz) / (Ch2 + C_sz) &lt; "
                   "((F2 + fkf) / (F1 + fkf))², ahol Ch1 és Ch2 a hangoló kapacitás az F1 és az F2 "
                   "pontban. Pozitív középfrekvenciánál a Cp_o mindig nagyobb a Cp_b-nél, így ez "
                   "csak negatív Cp_b mellett fordul elő: először a Cp_b-t kell rendbe tenni.")
            .arg(value);
    case Component::Ch1:
    case Component::Ch2:
        return QStringLiteral(
                   "A Ch az %1 pontban negatív (%2): a bemenő kör hangolókondenzátor nélkül, csak "
                   "a Cp_b trimmerrel és a szórt kapacitással is e pont alatt rezonál, "
                   "1 / (4π² · Lb · f²) &lt; Cp_b + C_sz. Ez csak negatív C_h_min mellett fordul "
                   "elő, és csak akkor, ha C_h_min &lt; −(Cp_b + C_sz) · (1 − (F2 / fmax)²).")
            .arg(negative.component == Component::Ch1 ? QStringLiteral("F1") : QStringLiteral("F2"),
                 value);
    }
    return {};
}

QString Caption(form1::ControlId id)
{
    return QString::fromUtf8(form1::Spec(id).caption);
}

// The notes of a finished design.
QString FinishedDesignNotes(const TrackingCalculator& calc, const DesignFigures& figures)
{
    const CalculationState& s = calc.state;
    const std::string& separator = calc.decimalSeparator;
    QString notes = QStringLiteral("<ul>");
    notes += figures.largestPositive ? DeviationLine(QStringLiteral("Legnagyobb pozitív eltérés"),
                                                     *figures.largestPositive, calc)
                                     : QStringLiteral("<li>Pozitív eltérés nincs a sávban.</li>");
    notes += figures.largestNegative ? DeviationLine(QStringLiteral("Legnagyobb negatív eltérés"),
                                                     *figures.largestNegative, calc)
                                     : QStringLiteral("<li>Negatív eltérés nincs a sávban.</li>");

    QString q;
    if (const std::optional<SweepPoint>& worst = figures.worstRelative) {
        q = General(*figures.statedQ, separator);
        notes +=
            QStringLiteral("<li>Legnagyobb relatív eltérés, |eltérés| / f: %1%, %2 MHz-nél.</li>")
                .arg(Percent(figures.largestRelative, separator),
                     Text(calc.FormatMegahertz(worst->frequency)));
        notes +=
            QStringLiteral("<li>Használható jóság: legfeljebb %1. Ennél nagyobb jóságú bemenő "
                           "körnél a jel az elhangolódás miatt a sáv valamely pontján 3 dB-nél "
                           "jobban gyengül (a legkisebb 1 / |x − 1/x|, x = (f + eltérés) / f, "
                           "lefelé kerekítve; kis eltérésnél ez f / (2 · |eltérés|)).</li>")
                .arg(q);
    }
    // The band's typical Q matters only to a design that can be built; one
    // that cannot is told what to change instead.
    const BandKind band = KindOfBand(s.f_min);
    const Verdict verdict = JudgeDesign(figures, s);
    if (CanBeBuilt(verdict))
        notes += BandLine(band, separator);
    if (s.f_min <= s.f_max)
        for (const NegativeComponent& negative : figures.negatives)
            notes += QStringLiteral("<li>%1</li>").arg(NegativeLine(negative, calc));

    QString judgement = VerdictSentence(verdict, q, TypicalRange(TypicalLoadedQ(band), separator));
    if (PadderHelps(verdict))
        judgement += QStringLiteral(" <a href=\"%1\">A padderes terv: „%2” (F2).</a>")
                         .arg(QString::fromLatin1(kPadderLink), kPadderWindowTitle);
    return notes + QStringLiteral("<li><b>Értékelés:</b> %1</li></ul>").arg(judgement);
}

// A typical design of the guide: its key in the named places and its input
// texts in the order of kInputs, as typed into the window.
struct TypicalDesign {
    const char* key;
    std::array<const char*, kInputs.size()> inputs;
};

constexpr TypicalDesign kTypicalDesigns[] = {
    {"mw", {"12", "500", "10", "0.52", "1.62", "0.455"}},
    {"lw", {"12", "500", "10", "0.15", "0.285", "0.455"}},
    {"sw", {"10", "50", "10", "5.9", "6.2", "0.455"}},
    {"fm", {"5", "20", "5", "87.5", "108", "10.7"}},
    {"vhf", {"10", "40", "5", "65", "108", "10.7"}},
};

// Keeps each result text the solver shows, by output field.
class ResultTextRecorder : public OutputSink {
public:
    void ShowOutput(OutputField field, const std::string& text) override
    {
        texts[static_cast<std::size_t>(field)] = text;
    }
    std::array<std::string, kOutputFieldCount> texts;
};

// The named places of one typical design: DESIGN.INPUT and DESIGN.RESULT as
// the window shows them (the control names of kInputs and of the result
// fields), DESIGN.q, the stated usable Q, and for its limiting point
// DESIGN.limit_frequency, DESIGN.limit_deviation, DESIGN.limit_percent and
// DESIGN.approximate_q (f / (2 |d|) there), DESIGN.l_b_exact, Lb in µH to
// three decimals, and DESIGN.padder_q, the stated usable Q of the three-point
// design with the points placed for the largest usable Q.
void AddDesignPlaces(const TypicalDesign& design, const std::string& separator,
                     QHash<QString, QString>& places)
{
    TrackingCalculator calc;
    calc.decimalSeparator = separator;
    const QString prefix = QString::fromLatin1(design.key) + QLatin1Char('.');
    for (std::size_t i = 0; i < kInputs.size(); ++i) {
        const double typed = ParseLeadingNumber(design.inputs[i]);
        calc.state.*(kInputs[i].member) = typed * kInputs[i].factor;
        places[prefix + Text(std::string(kInputs[i].name))] = General(typed, separator);
    }
    ResultTextRecorder results;
    SolveTracking(calc, results);
    for (const OutputField field : kOutputFieldsInStepOrder)
        places[prefix + QString::fromUtf8(form1::Spec(form1::ResultControl(field)).name)] =
            Grouped(results.texts[static_cast<std::size_t>(field)], separator);

    const std::optional<DesignFigures> figures = FiguresOfDesign(calc.state);
    if (!figures || !figures->limitingPoint)
        return;
    AddDesignSelectivityPlaces(calc, prefix, places);
    const SweepPoint& limit = *figures->limitingPoint;
    places[prefix + QStringLiteral("q")] = General(*figures->statedQ, separator);
    places[prefix + QStringLiteral("limit_frequency")] =
        Text(calc.FormatMegahertz(limit.frequency));
    places[prefix + QStringLiteral("limit_deviation")] = General(limit.deviation, separator);
    places[prefix + QStringLiteral("limit_percent")] =
        Percent(std::abs(limit.deviation) / limit.frequency, separator);
    places[prefix + QStringLiteral("approximate_q")] = General(
        RoundDownToTwoSignificant(limit.frequency / (2.0 * std::abs(limit.deviation))), separator);
    places[prefix + QStringLiteral("l_b_exact")] =
        Text(FormatFixed(calc.state.L_b * 1e6, 3, separator));
    try {
        const ThreePointDesign padder =
            DesignThreePoint(calc.state, PointPlacement::LargestUsableQ);
        if (padder.curve.statedQ)
            places[prefix + QStringLiteral("padder_q")] = General(*padder.curve.statedQ, separator);
    } catch (const ThreePointError&) {
        // A design the padder cannot improve has no such place; the guide
        // names it for the designs that have one.
    }
}

// The controls that take the focus, in tab order, each by the name a screen
// reader gives it.
QString TabOrderText()
{
    QStringList names;
    for (const form1::ControlSpec* spec : form1::TabChain()) {
        QString name = Caption(spec->id);
        const auto* labelled =
            std::ranges::find(form1::kLabelledFields, spec->id, &form1::LabelledField::field);
        if (labelled != form1::kLabelledFields.end()) {
            const auto frame = std::ranges::find_if(form1::kContainers, [&](const auto& c) {
                return std::ranges::find(c.controls, spec->id, &form1::ControlSpec::id)
                       != c.controls.end();
            });
            name = FieldName(Caption(frame->container), Caption(labelled->label),
                             QString::fromUtf8(labelled->qualifier),
                             spec->kind == form1::ControlKind::ReadOnlyField);
        } else if (spec->kind == form1::ControlKind::Picture) {
            name = DiagramName();
        } else if (spec->kind == form1::ControlKind::Graph) {
            name = GraphName();
        }
        names << QStringLiteral("„%1”").arg(name.toHtmlEscaped());
    }
    return names.join(QStringLiteral(", "));
}

} // namespace

QString DesignNotesHtml(const TrackingCalculator& calc, LastRun lastRun)
{
    const QString heading = QStringLiteral("<h2>Megjegyzések a mostani tervhez</h2>");
    const std::optional<DesignFigures> figures =
        lastRun == LastRun::Complete ? FiguresOfDesign(calc.state) : std::nullopt;
    if (figures)
        return heading + FinishedDesignNotes(calc, *figures);
    if (lastRun == LastRun::None)
        return heading
               + QStringLiteral("<p>Még nincs eredmény: adja meg a bemeneti adatokat, és nyomja "
                                "meg a „%1” gombot.</p>")
                     .arg(Caption(form1::ControlId::start));
    return heading
           + QStringLiteral("<p>A legutóbbi számolás nem sikerült; az eltérések nem készültek "
                            "el, ezért a tervről itt nincs mit mondani. A hibaüzenet lehetséges "
                            "okait lent, az üzenetről szóló rész sorolja fel.</p>");
}

QString GuideHtml(const QString& resultsFolder)
{
    const QLocale locale;
    const std::string separator = locale.decimalPoint().toStdString();
    QHash<QString, QString> places;
    places[QStringLiteral("results_folder")] = resultsFolder.toHtmlEscaped();
    places[QStringLiteral("line_count")] = QString::number(kResultsFileLineCount);
    places[QStringLiteral("tab_order")] = TabOrderText();
    places[QStringLiteral("padder_window")] = kPadderWindowTitle;
    places[QStringLiteral("typical.below_vhf")] =
        TypicalRange(TypicalLoadedQ(BandKind::BelowVhf), separator);
    places[QStringLiteral("typical.vhf")] = TypicalRange(TypicalLoadedQ(BandKind::Vhf), separator);
    for (const form1::ContainerSpec& container : form1::kContainers)
        for (const form1::ControlSpec& spec : container.controls)
            places[QStringLiteral("caption.") + QString::fromUtf8(spec.name)] =
                QString::fromUtf8(spec.caption).trimmed().toHtmlEscaped();
    for (const TypicalDesign& design : kTypicalDesigns)
        AddDesignPlaces(design, separator, places);
    AddSelectivityPlaces(places, separator);

    QFile file(QStringLiteral(":/guide.html"));
    file.open(QIODevice::ReadOnly);
    QString html = QString::fromUtf8(file.readAll());
    // A name the program does not know stays as it is written, braces and
    // all, where the tests find it.
    static const QRegularExpression place(QStringLiteral("\\{\\{([^{}]+)\\}\\}"));
    QString filled;
    qsizetype from = 0;
    for (const QRegularExpressionMatch& match : place.globalMatch(html)) {
        filled += html.mid(from, match.capturedStart() - from);
        filled += places.value(match.captured(1), match.captured(0));
        from = match.capturedEnd();
    }
    return filled + html.mid(from);
}

} // namespace kalibrix
