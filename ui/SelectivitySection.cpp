// SPDX-License-Identifier: GPL-3.0-or-later
#include "SelectivitySection.h"

#include "Errors.h"
#include "Labels.h"
#include "PadderGraph.h"
#include "TextField.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace kalibrix {
namespace {

// The section's layout, in logical (96-dpi) pixels.
struct SelectivityLayout {
    int qFieldWidth;        // the Q field
    int fieldMinimumWidth;  // a figure with its frequency, "-12,3 (108,000 MHz)"
    QSize graphMinimumSize; // the image-rejection graph
    int mostCircuits;       // the spin box's range is 1 to this
};

constexpr SelectivityLayout kLayout{80, 130, {520, 200}, 3};

} // namespace

SelectivitySection::SelectivitySection(std::vector<SelectivityCurveStyle> curves, QWidget* parent)
    : QGroupBox(kSelectivityTitle, parent), styles_(std::move(curves))
{
    setObjectName(QStringLiteral("selectivity"));
    setAccessibleName(title());
    auto* column = new QVBoxLayout(this);

    auto* inputs = new QHBoxLayout;
    auto* qLabel = new QLabel(kQFieldName, this);
    q_ = new TextField(this);
    q_->setObjectName(kQFieldName);
    q_->setAccessibleName(kQFieldName);
    q_->setFixedWidth(kLayout.qFieldWidth);
    qLabel->setBuddy(q_);
    auto* circuitsLabel = new QLabel(kCircuitsName, this);
    circuits_ = new QSpinBox(this);
    circuits_->setObjectName(kCircuitsName);
    circuits_->setAccessibleName(kCircuitsName);
    circuits_->setRange(1, kLayout.mostCircuits);
    circuitsLabel->setBuddy(circuits_);
    inputs->addWidget(qLabel);
    inputs->addWidget(q_);
    inputs->addSpacing(qLabel->fontMetrics().averageCharWidth() * 3);
    inputs->addWidget(circuitsLabel);
    inputs->addWidget(circuits_);
    inputs->addStretch();
    column->addLayout(inputs);
    message_ = WrappedLabel(this, QStringLiteral("selectivityMessage"));
    column->addWidget(message_);

    auto* grid = new QGridLayout;
    for (std::size_t c = 0; c < styles_.size(); ++c) {
        auto* header = new QLabel(Swatch(styles_[c].colour) + u' ' + styles_[c].name, this);
        header->setAccessibleName(styles_[c].name);
        grid->addWidget(header, 0, static_cast<int>(c) + 1, Qt::AlignHCenter);
        std::array<QLineEdit*, kSelectivityFigures.size()>& row = fields_.emplace_back();
        for (std::size_t f = 0; f < kSelectivityFigures.size(); ++f) {
            auto* field = new TextField(this);
            field->setReadOnly(true);
            field->setAlignment(Qt::AlignCenter);
            const QString name = SelectivityFieldName(kSelectivityFigures[f], styles_[c].name);
            field->setObjectName(name);
            field->setAccessibleName(name);
            field->setMinimumWidth(kLayout.fieldMinimumWidth);
            grid->addWidget(field, static_cast<int>(f) + 1, static_cast<int>(c) + 1);
            row[f] = field;
        }
    }
    for (std::size_t f = 0; f < kSelectivityFigures.size(); ++f)
        grid->addWidget(new QLabel(SelectivityCaption(kSelectivityFigures[f]), this),
                        static_cast<int>(f) + 1, 0, Qt::AlignRight);
    column->addLayout(grid);

    graph_ = new PadderGraph(this);
    graph_->setObjectName(QStringLiteral("selectivityGraph"));
    graph_->setAccessibleName(QStringLiteral("Tükörelnyomás a sávban: grafikon"));
    graph_->setMinimumSize(kLayout.graphMinimumSize);
    graph_->SetUnit(QStringLiteral("dB"), 1);
    column->addWidget(graph_, 1);
    legend_ = WrappedLabel(this, QStringLiteral("selectivityLegend"));
    column->addWidget(legend_);
    readout_ = WrappedLabel(this, QStringLiteral("selectivityReadout"));
    column->addWidget(readout_);
    connect(graph_, &PadderGraph::ReadoutChanged, readout_, &QLabel::setText);
    verdict_ = WrappedLabel(this, QStringLiteral("selectivityVerdict"));
    column->addWidget(verdict_);

    // The Q follows the band until the user types one.
    connect(q_, &QLineEdit::textEdited, this, [this] {
        qTyped_ = true;
        Update();
    });
    connect(circuits_, &QSpinBox::valueChanged, this, &SelectivitySection::Update);
    Clear();
}

void SelectivitySection::ShowDesign(const TrackingCalculator& calc,
                                    const std::vector<const SweepTable*>& deviations)
{
    calc_ = calc;
    deviations_.resize(deviations.size());
    std::ranges::transform(deviations, deviations_.begin(), [](const SweepTable* deviation) {
        return deviation ? std::optional(*deviation) : std::nullopt;
    });
    if (!qTyped_)
        q_->setText(TypicalQText(calc));
    Update();
}

void SelectivitySection::Clear()
{
    calc_.reset();
    deviations_.clear();
    message_->clear();
    message_->hide();
    ClearFigures();
}

void SelectivitySection::ClearFigures()
{
    shown_.clear();
    for (const auto& row : fields_)
        for (QLineEdit* field : row)
            field->clear();
    graph_->Clear();
    graph_->SetDescription(NoSelectivityGraph());
    legend_->clear();
    legend_->setAccessibleName(QString());
    verdict_->clear();
}

void SelectivitySection::Update()
{
    if (!calc_) {
        ClearFigures();
        return;
    }
    const std::optional<double> Q = ReadQ(q_->text());
    message_->setVisible(!Q);
    if (!Q) {
        message_->setText(InvalidQText());
        ClearFigures();
        return;
    }
    const CalculationState& s = calc_->state;
    const int circuits = circuits_->value();
    std::vector<NamedSelectivity> shown;
    std::vector<GraphCurve> curves;
    QStringList legend;
    QStringList swatches;
    try {
        for (std::size_t c = 0; c < styles_.size(); ++c) {
            NamedSelectivity& named = shown.emplace_back(NamedSelectivity{styles_[c].name, {}});
            if (c >= deviations_.size() || !deviations_[c])
                continue;
            named.figures =
                FiguresOfSelectivity(*Q, circuits, s.f_kf, s.fbe_curve, *deviations_[c]);
            curves.push_back({styles_[c].name, styles_[c].colour, named.figures->imageCurve});
            legend << styles_[c].name;
            swatches << Swatch(styles_[c].colour) + u' ' + styles_[c].name;
        }
    } catch (const CalculationError&) {
        message_->setText(InvalidQText());
        message_->show();
        ClearFigures();
        return;
    }
    for (std::size_t c = 0; c < shown.size(); ++c)
        for (std::size_t f = 0; f < kSelectivityFigures.size(); ++f)
            fields_[c][f]->setText(shown[c].figures ? SelectivityFieldText(
                                       ExtremeOf(*shown[c].figures, kSelectivityFigures[f]), *calc_)
                                                    : QString());
    const std::size_t drawn = curves.size();
    graph_->ShowCurves(std::move(curves), drawn, s.fbe_curve, calc_->decimalSeparator);
    graph_->SetDescription(SelectivityGraphDescription(shown, *calc_));
    legend_->setText(swatches.join(QStringLiteral("  ")));
    // A screen reader hears the names without the coloured squares.
    legend_->setAccessibleName(legend.join(QStringLiteral("; ")));
    verdict_->setText(QStringLiteral("<b>Értékelés:</b> ")
                      + SelectivityVerdictText(shown, circuits, *calc_).toHtmlEscaped());
    shown_ = std::move(shown);
}

QStringList SelectivitySection::FileLines() const
{
    if (!calc_)
        return {};
    return SelectivityFileLines(q_->text(), circuits_->value(), shown_, *calc_);
}

} // namespace kalibrix
