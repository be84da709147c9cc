// SPDX-License-Identifier: GPL-3.0-or-later
#include "PadderFitPanel.h"

#include "Errors.h"
#include "FrequencyTicks.h"
#include "InputFields.h"
#include "NumberText.h"
#include "PadderFitText.h"
#include "TextField.h"

#include <QGridLayout>
#include <QLabel>

#include <algorithm>
#include <tuple>

namespace kalibrix {

namespace {

// Label and field pairs side by side, as in the design's results.
constexpr int kPairsPerRow = 3;
// At most this many ticks on the frequency axis, so that their labels fit.
constexpr int kMostTicks = 6;

// The fitted padders' curves, after the three-point, E24 and two-point ones.
const QColor kE12Colour(208, 112, 0);
const QColor kOwnColour(144, 0, 176);
const QColor kE12PairColour(120, 72, 24);
const QColor kE24PairColour(0, 128, 144);
// The tolerance band, shaded behind the curves.
const QColor kBandColour(196, 228, 196);

struct Item {
    QString label; // the row's label, which names the field
    QString unit;  // as the window writes it; empty for Q
};

QString Caption(const Item& item)
{
    return item.unit.isEmpty() ? item.label : QStringLiteral("%1 (%2)").arg(item.label, item.unit);
}

// The values of the own padder after its typed value, as a standard padder
// shows them.
std::vector<Item> OwnValueItems()
{
    std::vector<Item> items;
    for (const PadderValue value : kStandardValues)
        if (value != PadderValue::Cpad) {
            const PadderValueSpec& spec = kPadderValues[static_cast<std::size_t>(value)];
            items.push_back(
                {kOwnPadderPrefix + QString::fromUtf8(spec.symbol), QString::fromUtf8(spec.unit)});
        }
    return items;
}

std::vector<Item> PointItems(const QString& prefix)
{
    std::vector<Item> items(kAlignmentPointNames.size());
    std::ranges::transform(kAlignmentPointNames, items.begin(), [&](const char* point) {
        return Item{prefix + QString::fromLatin1(point), QStringLiteral("MHz")};
    });
    return items;
}

} // namespace

PadderFitPanel::PadderFitPanel(QWidget* parent, int fieldMinimumWidth)
    : QGroupBox(QStringLiteral("A beépíthető padder: a legjobb beállítási pontok, saját "
                               "érték, párhuzamos pár, tűrés"),
                parent),
      fieldMinimumWidth_(fieldMinimumWidth)
{
    setAccessibleName(title());
    auto* grid = new QGridLayout(this);
    int row = 0;
    // One group per line or lines: its items fill the line, three at a time.
    const auto addGroup = [&](const std::vector<std::pair<QString, QLineEdit*>>& group) {
        for (std::size_t i = 0; i < group.size(); ++i) {
            const auto [caption, field] = group[i];
            auto* label = new QLabel(caption, this);
            label->setBuddy(field);
            const int column = 2 * (static_cast<int>(i) % kPairsPerRow);
            grid->addWidget(label, row, column, Qt::AlignRight);
            grid->addWidget(field, row, column + 1);
            if (static_cast<int>(i) % kPairsPerRow == kPairsPerRow - 1 || i + 1 == group.size())
                ++row;
        }
    };
    const auto shown = [&](const std::vector<Item>& items) {
        std::vector<std::pair<QString, QLineEdit*>> group(items.size());
        std::ranges::transform(items, group.begin(), [&](const Item& item) {
            return std::pair{Caption(item), Field(item.label, item.unit)};
        });
        return group;
    };

    for (const QString& prefix : {QStringLiteral("E12 "), QStringLiteral("E24 ")})
        addGroup(shown(PointItems(prefix)));

    own_ = new TextField(this);
    own_->setObjectName(QStringLiteral("ownPadder"));
    own_->setAccessibleName(kOwnPadderCaption);
    own_->setMinimumWidth(fieldMinimumWidth_);
    connect(own_, &QLineEdit::returnPressed, this, &PadderFitPanel::OwnPadderEntered);
    std::vector<std::pair<QString, QLineEdit*>> ownGroup{{kOwnPadderCaption, own_}};
    const auto points = shown(PointItems(kOwnPadderPrefix));
    ownGroup.insert(ownGroup.end(), points.begin(), points.end());
    const auto values = shown(OwnValueItems());
    ownGroup.insert(ownGroup.end(), values.begin(), values.end());
    addGroup(ownGroup);

    for (const StandardSeries series : {StandardSeries::E12, StandardSeries::E24})
        addGroup(shown({{PairLabel(series), QStringLiteral("pF")}, {PairQLabel(series), {}}}));
    std::vector<Item> tolerance(kPadderTolerances.size());
    std::ranges::transform(kPadderTolerances, tolerance.begin(), [](double t) {
        return Item{ToleranceLabel(t), {}};
    });
    addGroup(shown(tolerance));
}

QLineEdit* PadderFitPanel::Field(const QString& label, const QString& unit)
{
    auto* field = new TextField(this);
    field->setReadOnly(true);
    field->setAlignment(Qt::AlignCenter);
    const QString caption = Caption({label, unit});
    field->setAccessibleName(caption);
    field->setObjectName(caption);
    field->setMinimumWidth(fieldMinimumWidth_);
    fields_[label] = field;
    return field;
}

std::optional<double> PadderFitPanel::OwnPadder() const
{
    // A decimal comma reads as the point, as typed in a Hungarian habit.
    const QString text = own_->text().trimmed().replace(u',', u'.');
    if (text.isEmpty())
        return std::nullopt;
    try {
        return ScaledInput(text.toStdString(), kFaradPerPicofarad);
    } catch (const OverflowError&) {
        // A value beyond the double range is no capacitor.
        return std::nullopt;
    }
}

void PadderFitPanel::ShowRows(const std::vector<PadderRow>& rows)
{
    Clear();
    for (const PadderRow& row : rows) {
        const auto field = fields_.find(row.label);
        if (field != fields_.end())
            field->second->setText(row.text);
    }
}

void PadderFitPanel::Clear()
{
    for (const auto& [label, field] : fields_)
        field->clear();
}

} // namespace kalibrix

namespace kalibrix {

std::vector<FittedCurve> FittedCurves(const ThreePointDesign& design, const PadderChoices& choices,
                                      const TrackingCalculator& calc)
{
    std::vector<FittedCurve> curves;
    if (design.e12.Aligned())
        curves.push_back({StandardCurveName(StandardSeries::E12, design.e12.nominal, calc),
                          kE12Colour, &design.e12.curve});
    if (choices.own && choices.own->Aligned())
        curves.push_back(
            {OwnCurveName(choices.own->nominal, calc), kOwnColour, &choices.own->curve});
    for (const auto& [series, pair, colour] :
         {std::tuple{StandardSeries::E12, &choices.e12Pair, kE12PairColour},
          std::tuple{StandardSeries::E24, &choices.e24Pair, kE24PairColour}})
        if (*pair)
            curves.push_back({PairCurveName(series, **pair, calc), colour, &(*pair)->fit.curve});
    return curves;
}

GraphMarks FittedMarks(const ThreePointDesign& design, const PadderChoices& choices,
                       const TrackingCalculator& calc, const QColor& designColour,
                       const QColor& e24Colour)
{
    const CalculationState& s = calc.state;
    GraphMarks marks;
    if (choices.tolerance)
        marks.band = GraphBand{choices.tolerance->lowest, choices.tolerance->highest, kBandColour};
    for (const double f : FrequencyTicks(s.f_min, s.f_max, kMostTicks))
        marks.ticks.push_back({StepOfFrequency(f, s), AxisTickText(f, calc)});
    marks.axisUnit = AxisUnit(calc);
    for (std::size_t i = 0; i < design.f.size(); ++i)
        marks.marks.push_back({StepOfFrequency(design.f[i], s), QStringLiteral("F%1").arg(i + 1),
                               designColour, false});
    std::vector<std::pair<const StandardPadder*, QColor>> padders{{&design.e24, e24Colour},
                                                                  {&design.e12, kE12Colour}};
    if (choices.own)
        padders.emplace_back(&*choices.own, kOwnColour);
    for (const auto& [padder, colour] : padders)
        if (padder->Aligned())
            for (std::size_t i = 0; i < kAlignmentPointNames.size(); ++i)
                marks.marks.push_back({StepOfFrequency(padder->alignment[i], s),
                                       QString::fromLatin1(kAlignmentPointNames[i]), colour, true});
    return marks;
}

std::pair<QString, QColor> BandLegend(const PadderChoices& choices, const TrackingCalculator& calc)
{
    if (!choices.tolerance)
        return {};
    return {ToleranceBandLegend(*choices.tolerance, calc), kBandColour};
}

} // namespace kalibrix
