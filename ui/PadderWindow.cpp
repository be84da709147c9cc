// SPDX-License-Identifier: GPL-3.0-or-later
#include "PadderWindow.h"

#include "AccessibleText.h"
#include "DesignFigures.h"
#include "Form1Layout.h"
#include "InputCircuitSection.h"
#include "Labels.h"
#include "NumberText.h"
#include "NumericField.h"
#include "PadderFitPanel.h"
#include "PadderGraph.h"
#include "Saving.h"
#include "SelectivitySection.h"
#include "TextField.h"

#include <QButtonGroup>
#include <QClipboard>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>
#include <iterator>

namespace kalibrix {

namespace {

// The window's layout, in logical (96-dpi) pixels: Qt layouts place the
// controls, these numbers are all they are given.
struct PadderLayout {
    int resultColumns;      // label and field pairs side by side
    int fieldMinimumWidth;  // a result or point field
    QSize graphMinimumSize; // the graph's area
    QSize preferredSize;    // the window, before the screen limits it
};

constexpr PadderLayout kLayout{3, 100, {520, 260}, {840, 980}};

// The graph's curves: three-point, E24, two-point, the first on top.
const QColor kThreePointColour(0, 0, 176);
const QColor kTwoPointColour(208, 0, 0);
const QColor kE24Colour(0, 128, 0);

const std::array<QString, 2> kStandardPrefixes{QStringLiteral("E12 "), QStringLiteral("E24 ")};

// The main window's calculate button's caption, which the own points' button
// shares.
QString StartCaption()
{
    return QString::fromUtf8(form1::Spec(form1::ControlId::start).caption);
}

// The two-point design's curve, in the main window's tables.
PadderCurve TwoPointCurve(const CalculationState& s, const std::optional<DesignFigures>& figures)
{
    PadderCurve curve;
    curve.deviation = s.elt_curve;
    curve.largestPositive = s.elt_sorted.back();
    curve.largestNegative = s.elt_sorted.front();
    if (figures) {
        curve.usableQ = figures->usableQ;
        curve.statedQ = figures->statedQ;
    }
    return curve;
}

} // namespace

PadderWindow::PadderWindow(QWidget* parent)
    : SideWindow(parent, QStringLiteral("padder"), kPadderWindowTitle, kLayout.preferredSize)
{
    auto* content = new QWidget;
    auto* column = new QVBoxLayout(content);
    status_ = WrappedLabel(content, QStringLiteral("status"));
    column->addWidget(status_);
    column->addWidget(BuildPlacement());
    inputs_ = new InputCircuitSection(StartCaption(), content);
    connect(inputs_, &InputCircuitSection::Changed, this, &PadderWindow::Recompute);
    column->addWidget(inputs_);
    column->addWidget(BuildResults());
    column->addWidget(BuildStandardPadders());
    fit_ = new PadderFitPanel(content, kLayout.fieldMinimumWidth);
    connect(fit_, &PadderFitPanel::OwnPadderEntered, this, &PadderWindow::Recompute);
    column->addWidget(fit_);
    column->addWidget(BuildGraph());
    verdict_ = WrappedLabel(content, QStringLiteral("verdict"));
    column->addWidget(verdict_);
    selectivity_ = new SelectivitySection({{TwoPointShortName(), kTwoPointColour},
                                           {ThreePointCurveName(), kThreePointColour},
                                           {E24ShortName(), kE24Colour}},
                                          content);
    column->addWidget(selectivity_);
    recipe_ = WrappedLabel(content, QStringLiteral("recipe"));
    column->addWidget(recipe_);
    column->addStretch();

    // The view scrolls to a control that takes the focus; it is no stop of
    // its own, which would have nothing to show the focus on.
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(content);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);

    QWidget* saveRow = BuildSaveRow();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll);
    layout->addWidget(saveRow);
    layout->addWidget(CloseButton());

    connect(new QShortcut(QKeySequence::Copy, this), &QShortcut::activated, this,
            &PadderWindow::Copy);
    for (QLineEdit* field : findChildren<QLineEdit*>())
        field->installEventFilter(this);

    ShowNoDesign(NoResultsYet(StartCaption()));
}

QWidget* PadderWindow::BuildPlacement()
{
    auto* box = new QGroupBox(QStringLiteral("A három együttfutási pont"));
    box->setAccessibleName(box->title());
    auto* grid = new QGridLayout(box);
    placement_ = new QButtonGroup(box);
    const std::array placements{PointPlacement::LargestUsableQ, PointPlacement::SmallestDeviation,
                                PointPlacement::OwnPoints};
    for (const PointPlacement placement : placements) {
        auto* radio = new QRadioButton(PlacementName(placement), box);
        const int id = static_cast<int>(placement);
        radio->setObjectName(QStringLiteral("placement%1").arg(id));
        placement_->addButton(radio, id);
        grid->addWidget(radio, 0, 2 * id, 1, 2);
    }
    placement_->button(static_cast<int>(PointPlacement::LargestUsableQ))->setChecked(true);
    connect(placement_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            PlacementChosen();
    });

    for (std::size_t i = 0; i < ownFields_.size(); ++i) {
        const QString name = QStringLiteral("F%1 (MHz)").arg(i + 1);
        auto* label = new QLabel(name, box);
        auto* field = new TextField(box);
        ReadCommaAsPoint(*field);
        connect(field, &QLineEdit::returnPressed, this, &PadderWindow::Recompute);
        field->setObjectName(QStringLiteral("own%1").arg(i + 1));
        field->setAccessibleName(QStringLiteral("Saját pont: ") + name);
        field->setMinimumWidth(kLayout.fieldMinimumWidth);
        label->setBuddy(field);
        grid->addWidget(label, 1, 2 * static_cast<int>(i));
        grid->addWidget(field, 1, 2 * static_cast<int>(i) + 1);
        ownFields_[i] = field;
    }
    ownCompute_ = new QPushButton(StartCaption(), box);
    ownCompute_->setObjectName(QStringLiteral("ownCompute"));
    ownCompute_->setAccessibleName(ownCompute_->text() + QStringLiteral(" a saját pontokkal"));
    ownCompute_->setAutoDefault(false);
    grid->addWidget(ownCompute_, 1, 2 * static_cast<int>(ownFields_.size()));
    connect(ownCompute_, &QPushButton::clicked, this, &PadderWindow::Recompute);
    PlacementChosen();
    return box;
}

QLineEdit* PadderWindow::ResultField(const QString& accessibleName)
{
    auto* field = new TextField;
    field->setReadOnly(true);
    field->setAlignment(Qt::AlignCenter);
    field->setAccessibleName(accessibleName);
    field->setObjectName(accessibleName);
    field->setMinimumWidth(kLayout.fieldMinimumWidth);
    return field;
}

QWidget* PadderWindow::BuildResults()
{
    auto* box = new QGroupBox(QStringLiteral("Hárompontos terv"));
    box->setAccessibleName(box->title());
    auto* grid = new QGridLayout(box);
    for (std::size_t i = 0; i < kPadderValues.size(); ++i) {
        const QString caption = ValueCaption(kPadderValues[i]);
        QLineEdit* field = ResultField(caption);
        auto* label = new QLabel(caption, box);
        label->setBuddy(field);
        const int row = static_cast<int>(i) / kLayout.resultColumns;
        const int column = 2 * (static_cast<int>(i) % kLayout.resultColumns);
        grid->addWidget(label, row, column, Qt::AlignRight);
        grid->addWidget(field, row, column + 1);
        values_[i] = field;
    }
    values_.back()->setAccessibleDescription(
        QStringLiteral("használható jóság, lefelé kerekítve két értékes jegyre"));
    return box;
}

QWidget* PadderWindow::BuildStandardPadders()
{
    auto* box = new QGroupBox(QStringLiteral("Szabványos padder, a legjobb pontokon beállítva"));
    box->setAccessibleName(box->title());
    auto* grid = new QGridLayout(box);
    for (std::size_t v = 0; v < kStandardValues.size(); ++v)
        grid->addWidget(
            new QLabel(ValueCaption(kPadderValues[static_cast<std::size_t>(kStandardValues[v])]),
                       box),
            0, static_cast<int>(v) + 1, Qt::AlignHCenter);
    for (std::size_t row = 0; row < kStandardPrefixes.size(); ++row) {
        grid->addWidget(new QLabel(kStandardPrefixes[row].trimmed(), box),
                        static_cast<int>(row) + 1, 0);
        for (std::size_t v = 0; v < kStandardValues.size(); ++v) {
            const PadderValueSpec& spec =
                kPadderValues[static_cast<std::size_t>(kStandardValues[v])];
            standard_[row][v] = ResultField(ValueCaption(spec, kStandardPrefixes[row]));
            grid->addWidget(standard_[row][v], static_cast<int>(row) + 1, static_cast<int>(v) + 1);
        }
    }
    standardNote_ = WrappedLabel(box, QStringLiteral("standardNote"));
    grid->addWidget(standardNote_, static_cast<int>(kStandardPrefixes.size()) + 1, 0, 1, -1);
    return box;
}

QWidget* PadderWindow::BuildGraph()
{
    auto* box = new QGroupBox(QStringLiteral("Eltérés a sávban"));
    box->setAccessibleName(box->title());
    auto* column = new QVBoxLayout(box);
    graph_ = new PadderGraph(box);
    graph_->setObjectName(QStringLiteral("graph"));
    graph_->setAccessibleName(QStringLiteral("Eltérés a sávban: grafikon"));
    graph_->setMinimumSize(kLayout.graphMinimumSize);
    column->addWidget(graph_, 1);
    legend_ = WrappedLabel(box, QStringLiteral("legend"));
    column->addWidget(legend_);
    readout_ = WrappedLabel(box, QStringLiteral("readout"));
    column->addWidget(readout_);
    connect(graph_, &PadderGraph::ReadoutChanged, readout_, &QLabel::setText);
    return box;
}

QWidget* PadderWindow::BuildSaveRow()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(QMargins());
    auto* label = new QLabel(QStringLiteral("Mentés neve"), row);
    fileName_ = new TextField(row);
    fileName_->setObjectName(QStringLiteral("fileName"));
    label->setBuddy(fileName_);
    fileName_->setAccessibleName(label->text());
    save_ = new QPushButton(QStringLiteral("Ment"), row);
    save_->setObjectName(QStringLiteral("save"));
    copy_ = new QPushButton(QStringLiteral("Másolás"), row);
    copy_->setObjectName(QStringLiteral("copy"));
    copy_->setToolTip(QStringLiteral("A terv szövege a vágólapra (Ctrl+C)"));
    for (QPushButton* button : {save_, copy_})
        button->setAutoDefault(false);
    connect(save_, &QPushButton::clicked, this, &PadderWindow::Save);
    connect(copy_, &QPushButton::clicked, this, &PadderWindow::Copy);
    layout->addWidget(label);
    layout->addWidget(fileName_, 1);
    layout->addWidget(save_);
    layout->addWidget(copy_);
    return row;
}

void PadderWindow::Follow(const TrackingCalculator& calc, bool sweepCurrent) noexcept
{
    Guarded([&] {
        if (sweepCurrent) {
            source_ = calc;
            inputs_->Follow(calc);
        }
        lastRunFailed_ = !sweepCurrent && source_;
    });
    Recompute();
}

PointPlacement PadderWindow::Placement() const
{
    return static_cast<PointPlacement>(placement_->checkedId());
}

void PadderWindow::PlacementChosen()
{
    const bool own = Placement() == PointPlacement::OwnPoints;
    for (QLineEdit* field : ownFields_)
        field->setEnabled(own);
    ownCompute_->setEnabled(own);
    if (!own) {
        Recompute();
        return;
    }
    // Own points start from the design shown, for the user to move.
    if (design_)
        for (std::size_t i = 0; i < ownFields_.size(); ++i)
            if (ownFields_[i]->text().isEmpty())
                ownFields_[i]->setText(QString::fromStdString(
                    FormatFixed(design_->f[i] / kHertzPerMegahertz, 3, ".")));
}

std::optional<std::array<double, 3>> PadderWindow::OwnPoints()
{
    std::array<double, 3> ownPoints{};
    for (std::size_t i = 0; i < ownFields_.size(); ++i) {
        const QString text = ownFields_[i]->text();
        if (text.trimmed().isEmpty()) {
            ShowNoDesign(MissingPoint(static_cast<int>(i)));
            return std::nullopt;
        }
        try {
            ownPoints[i] = ScaledInput(text.toStdString(), kHertzPerMegahertz);
        } catch (const OverflowError&) {
            ShowNoDesign(PointTooLarge(static_cast<int>(i)));
            return std::nullopt;
        }
    }
    return ownPoints;
}

void PadderWindow::Recompute() noexcept
{
    if (!placement_ || !graph_)
        return;
    Guarded([this] {
        if (!source_) {
            ShowNoDesign(NoResultsYet(StartCaption()));
            return;
        }
        std::array<double, 3> points{};
        if (Placement() == PointPlacement::OwnPoints) {
            const std::optional<std::array<double, 3>> own = OwnPoints();
            if (!own)
                return;
            points = *own;
        }
        try {
            if (!inputs_->Bandspread()) {
                ShowDesign(DesignThreePoint(source_->state, Placement(), points));
                return;
            }
            const BandspreadDesign spread = DesignBandspread(
                source_->state, inputs_->CoilText().toStdString(), Placement(), points);
            ShowDesign(spread.oscillator, &spread);
        } catch (const ThreePointError& error) {
            ShowNoDesign(FailureText(error, *source_, points));
        } catch (const BandspreadError& error) {
            const std::optional<CoilRange>& range = inputs_->Range();
            ShowNoDesign(BandspreadFailureText(error, inputs_->CoilText(),
                                               range ? &*range : nullptr, *source_));
        }
    });
}

void PadderWindow::ShowBandspread()
{
    inputs_->ChooseBandspread();
}

// The saved and copied text: the design with its input circuit, then the
// selectivity.
QStringList PadderWindow::FileLines() const
{
    return PadderFileLines(*design_, choices_, *source_, QDateTime::currentDateTime(),
                           spread_ ? &*spread_ : nullptr)
           + selectivity_->FileLines();
}

void PadderWindow::Guarded(const std::function<void()>& step) noexcept
{
    try {
        step();
    } catch (const std::exception&) {
        ShowNoDesign(UnforeseenFailure());
    }
}

void PadderWindow::ShowDesign(const ThreePointDesign& design, const BandspreadDesign* spread)
{
    const TrackingCalculator& calc = *source_;
    design_ = design;
    spread_ = spread ? std::optional(*spread) : std::nullopt;
    const QString circuit =
        InputCircuitSentence(spread ? InputCircuit::Bandspread : InputCircuit::TrimmerOnly);
    status_->setText(DesignStatus(design, lastRunFailed_) + u' ' + circuit);
    // The fitted choices are worked out against the trimmer-only input
    // circuit; for a bandspread circuit they would be wrong, and the note
    // under the standard padders says they are left out.
    choices_ = spread ? PadderChoices{} : FitPadders(calc.state, design, fit_->OwnPadder());
    const PadderDesignText said = DescribePadderDesign(design, choices_, calc, spread);
    fit_->ShowRows(said.rows);
    inputs_->ShowRows(said.rows);
    for (const PadderRow& row : said.rows) {
        if (!row.value || row.standard >= static_cast<int>(standard_.size()))
            continue;
        if (row.standard < 0)
            values_[static_cast<std::size_t>(*row.value)]->setText(row.text);
        else
            standard_[static_cast<std::size_t>(row.standard)]
                     [static_cast<std::size_t>(std::ranges::find(kStandardValues, *row.value)
                                               - kStandardValues.begin())]
                         ->setText(row.text);
    }
    standardNote_->setText(said.standardNote);
    standardNote_->setVisible(!said.standardNote.isEmpty());

    const std::optional<DesignFigures> figures = FiguresOfDesign(calc.state);
    const PadderCurve twoPoint = TwoPointCurve(calc.state, figures);
    // An E24 padder that cannot be aligned has no curve to show.
    struct Entry {
        QString name;
        QColor colour;
        const PadderCurve* curve;
    };
    std::vector<Entry> entries{{ThreePointCurveName(), kThreePointColour, &design.curve}};
    if (design.e24.Aligned())
        entries.push_back({E24CurveName(design, calc), kE24Colour, &design.e24.curve});
    std::ranges::transform(FittedCurves(design, choices_, calc), std::back_inserter(entries),
                           [](const FittedCurve& fitted) {
                               return Entry{fitted.name, fitted.colour, fitted.curve};
                           });
    const std::size_t scaled = entries.size();
    entries.push_back({TwoPointCurveName(), kTwoPointColour, &twoPoint});
    std::vector<GraphCurve> curves;
    QStringList names;
    QStringList legend;
    QStringList spokenLegend;
    std::vector<const PadderCurve*> described;
    for (const Entry& entry : entries) {
        curves.push_back({entry.name, entry.colour, entry.curve->deviation});
        names << entry.name;
        const QString text = LegendEntry(entry.name, *entry.curve, calc);
        legend << Swatch(entry.colour) + u' ' + text;
        spokenLegend << text;
        described.push_back(entry.curve);
    }
    const auto [band, bandColour] = BandLegend(choices_, calc);
    if (!band.isEmpty()) {
        legend << Swatch(bandColour) + u' ' + band;
        spokenLegend << band;
    }
    graph_->SetMarks(FittedMarks(design, choices_, calc, kThreePointColour, kE24Colour));
    graph_->ShowCurves(std::move(curves), scaled, calc.state.fbe_curve, calc.decimalSeparator);
    graph_->SetDescription(PadderGraphDescription(names, described, calc) + u' ' + circuit);
    legend_->setText(legend.join(QStringLiteral("<br>")));
    // A screen reader hears the entries without the coloured squares.
    legend_->setAccessibleName(spokenLegend.join(QStringLiteral("; ")));

    verdict_->setText(VerdictHtml(said));
    recipe_->setText(AlignmentRecipeHtml(said));
    selectivity_->ShowDesign(calc, {&calc.state.elt_curve, &design.curve.deviation,
                                    design.e24.Aligned() ? &design.e24.curve.deviation : nullptr});
    save_->setEnabled(true);
    copy_->setEnabled(true);
}

void PadderWindow::ShowNoDesign(const QString& why)
{
    design_.reset();
    spread_.reset();
    inputs_->ClearValues();
    choices_ = {};
    fit_->Clear();
    status_->setText(lastRunFailed_ ? NoDesignAfterFailedRun(why) : why);
    for (QLineEdit* field : values_)
        field->clear();
    for (const auto& row : standard_)
        for (QLineEdit* field : row)
            field->clear();
    standardNote_->clear();
    standardNote_->hide();
    graph_->Clear();
    graph_->SetDescription(EmptyPadderGraphDescription());
    legend_->clear();
    legend_->setAccessibleName(QString());
    verdict_->clear();
    recipe_->clear();
    selectivity_->Clear();
    save_->setEnabled(false);
    copy_->setEnabled(false);
}

void PadderWindow::Save()
{
    if (design_)
        Guarded([this] { SaveUnderName(*fileName_, [this] { return FileLines(); }); });
}

void PadderWindow::Copy()
{
    if (design_)
        Guarded([this] {
            QGuiApplication::clipboard()->setText(FileLines().join(QStringLiteral("\n")));
        });
}

// Ctrl+C in a field copies its selected text; a field without a selection
// leaves it to the window, which copies the whole design.
bool PadderWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride
        && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy))
        if (const auto* field = qobject_cast<QLineEdit*>(watched);
            field && !field->hasSelectedText())
            return true;
    return SideWindow::eventFilter(watched, event);
}

} // namespace kalibrix
