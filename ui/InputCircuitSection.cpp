// SPDX-License-Identifier: GPL-3.0-or-later
#include "InputCircuitSection.h"

#include "DesignVerdict.h"
#include "NumericField.h"
#include "TextField.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kalibrix {
namespace {

// The section's layout, in logical (96-dpi) pixels.
struct InputCircuitLayout {
    int coilFieldWidth;    // the coil field
    int fieldMinimumWidth; // a value field
};

constexpr InputCircuitLayout kLayout{90, 100};

const std::array<QString, 2> kStandardPrefixes{QStringLiteral("E12 "), QStringLiteral("E24 ")};

const InputValueSpec& SpecOf(InputValue value)
{
    return kInputValues[static_cast<std::size_t>(value)];
}

QLineEdit* ValueField(QWidget* parent, const QString& accessibleName)
{
    auto* field = new TextField(parent);
    field->setReadOnly(true);
    field->setAlignment(Qt::AlignCenter);
    field->setObjectName(accessibleName);
    field->setAccessibleName(accessibleName);
    field->setMinimumWidth(kLayout.fieldMinimumWidth);
    return field;
}

} // namespace

InputCircuitSection::InputCircuitSection(const QString& computeCaption, QWidget* parent)
    : QGroupBox(kInputCircuitTitle, parent)
{
    setObjectName(QStringLiteral("inputCircuit"));
    setAccessibleName(title());
    auto* column = new QVBoxLayout(this);

    auto* choices = new QHBoxLayout;
    auto* group = new QButtonGroup(this);
    trimmer_ = new QRadioButton(InputCircuitName(InputCircuit::TrimmerOnly), this);
    trimmer_->setObjectName(QStringLiteral("inputTrimmer"));
    spread_ = new QRadioButton(InputCircuitName(InputCircuit::Bandspread), this);
    spread_->setObjectName(QStringLiteral("inputBandspread"));
    for (QRadioButton* choice : {trimmer_, spread_}) {
        group->addButton(choice);
        choices->addWidget(choice);
        // Only a click or a key of the user's counts as a choice.
        connect(choice, &QRadioButton::clicked, this, [this] {
            chosen_ = true;
            ChoiceMade();
        });
    }
    choices->addStretch();
    trimmer_->setChecked(true);
    column->addLayout(choices);

    spreadPart_ = new QWidget(this);
    auto* part = new QVBoxLayout(spreadPart_);
    part->setContentsMargins(QMargins());
    auto* row = new QHBoxLayout;
    const QString coilName = InputValueCaption(SpecOf(InputValue::Lb));
    auto* coilLabel = new QLabel(coilName, spreadPart_);
    coil_ = new TextField(spreadPart_);
    ReadCommaAsPoint(*coil_);
    coil_->setObjectName(coilName);
    coil_->setAccessibleName(coilName);
    coil_->setFixedWidth(kLayout.coilFieldWidth);
    coilLabel->setBuddy(coil_);
    rangeLabel_ = new QLabel(spreadPart_);
    rangeLabel_->setObjectName(QStringLiteral("coilRange"));
    // Enter in the field, the button, or the focus moving on designs for the
    // coil typed.
    auto* compute = new QPushButton(computeCaption, spreadPart_);
    compute->setObjectName(QStringLiteral("coilCompute"));
    compute->setAccessibleName(CoilComputeName(computeCaption));
    compute->setAutoDefault(false);
    connect(compute, &QPushButton::clicked, this, &InputCircuitSection::ChoiceMade);
    row->addWidget(coilLabel);
    row->addWidget(coil_);
    row->addWidget(compute);
    row->addWidget(rangeLabel_, 1);
    part->addLayout(row);

    // The design's Cs_b and Cp_b, and under them the E12 and E24 circuits
    // with their coils.
    auto* grid = new QGridLayout;
    constexpr std::array columns{InputValue::Cs_b, InputValue::Cp_b, InputValue::Lb};
    for (std::size_t c = 0; c < columns.size(); ++c)
        grid->addWidget(new QLabel(InputValueCaption(SpecOf(columns[c])), spreadPart_), 0,
                        static_cast<int>(c) + 1, Qt::AlignHCenter);
    grid->addWidget(new QLabel(kDesignedInputRow, spreadPart_), 1, 0);
    for (std::size_t c = 0; c + 1 < columns.size(); ++c) {
        const auto v = static_cast<std::size_t>(columns[c]);
        values_[v] = ValueField(spreadPart_, InputValueCaption(kInputValues[v]));
        grid->addWidget(values_[v], 1, static_cast<int>(c) + 1);
    }
    for (std::size_t series = 0; series < kStandardPrefixes.size(); ++series) {
        const int gridRow = static_cast<int>(series) + 2;
        grid->addWidget(new QLabel(kStandardPrefixes[series].trimmed(), spreadPart_), gridRow, 0);
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const auto v = static_cast<std::size_t>(columns[c]);
            standard_[series][v] = ValueField(
                spreadPart_, InputValueCaption(kInputValues[v], kStandardPrefixes[series]));
            grid->addWidget(standard_[series][v], gridRow, static_cast<int>(c) + 1);
        }
    }
    part->addLayout(grid);
    auto* note = new QLabel(kStandardInputTitle, spreadPart_);
    note->setWordWrap(true);
    part->addWidget(note);
    column->addWidget(spreadPart_);

    connect(coil_, &QLineEdit::textEdited, this, [this] { coilTyped_ = true; });
    connect(coil_, &QLineEdit::returnPressed, this, &InputCircuitSection::ChoiceMade);
    connect(coil_, &QLineEdit::editingFinished, this, [this] {
        if (coil_->text() != designedCoil_)
            ChoiceMade();
    });
    spreadPart_->setEnabled(false);
}

void InputCircuitSection::Follow(const TrackingCalculator& calc)
{
    const CalculationState& s = calc.state;
    try {
        range_ = BandspreadCoilRange(s);
        rangeLabel_->setText(CoilRangeLabel(*range_, calc.decimalSeparator));
        if (!coilTyped_)
            coil_->setText(CoilFieldText(DefaultBandspreadCoil(s, *range_)));
    } catch (const BandspreadError&) {
        range_.reset();
        rangeLabel_->clear();
    }
    coil_->setAccessibleDescription(rangeLabel_->text());
    if (!chosen_)
        (BandspreadAdvised(s) ? spread_ : trimmer_)->setChecked(true);
    spreadPart_->setEnabled(Bandspread());
    designedCoil_ = coil_->text();
}

void InputCircuitSection::ChooseBandspread()
{
    chosen_ = true;
    if (!Bandspread()) {
        spread_->setChecked(true);
        ChoiceMade();
    }
}

bool InputCircuitSection::Bandspread() const
{
    return spread_->isChecked();
}

QString InputCircuitSection::CoilText() const
{
    return coil_->text();
}

void InputCircuitSection::ChoiceMade()
{
    spreadPart_->setEnabled(Bandspread());
    designedCoil_ = coil_->text();
    emit Changed();
}

void InputCircuitSection::ShowRows(const std::vector<PadderRow>& rows)
{
    ClearValues();
    for (const PadderRow& row : rows) {
        if (!row.input)
            continue;
        const auto v = static_cast<std::size_t>(*row.input);
        QLineEdit* field =
            row.standard < 0 ? values_[v] : standard_[static_cast<std::size_t>(row.standard)][v];
        if (field)
            field->setText(row.text);
    }
}

void InputCircuitSection::ClearValues()
{
    for (QLineEdit* field : values_)
        if (field)
            field->clear();
    for (const auto& row : standard_)
        for (QLineEdit* field : row)
            field->clear();
}

} // namespace kalibrix
