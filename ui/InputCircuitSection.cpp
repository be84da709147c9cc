#include "InputCircuitSection.h"

#include "DesignVerdict.h"
#include "NumericField.h"
#include "TextField.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
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

InputCircuitSection::InputCircuitSection(QWidget* parent) : QGroupBox(kInputCircuitTitle, parent)
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
    coil_ = new NumericField(coilValue_, 1e-6, spreadPart_);
    coil_->setObjectName(coilName);
    coil_->setAccessibleName(coilName);
    coil_->setFixedWidth(kLayout.coilFieldWidth);
    coilLabel->setBuddy(coil_);
    rangeLabel_ = new QLabel(spreadPart_);
    rangeLabel_->setObjectName(QStringLiteral("coilRange"));
    row->addWidget(coilLabel);
    row->addWidget(coil_);
    row->addWidget(rangeLabel_);
    row->addStretch();
    for (const InputValue value : {InputValue::Cs_b, InputValue::Cp_b}) {
        const QString name = InputValueCaption(SpecOf(value));
        QLineEdit* field = ValueField(spreadPart_, name);
        auto* label = new QLabel(name, spreadPart_);
        label->setBuddy(field);
        row->addWidget(label);
        row->addWidget(field);
        values_[static_cast<std::size_t>(value)] = field;
    }
    part->addLayout(row);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(kStandardInputTitle, spreadPart_), 0, 0, 1, -1);
    for (std::size_t v = 0; v < kInputValues.size(); ++v)
        grid->addWidget(new QLabel(InputValueCaption(kInputValues[v]), spreadPart_), 1,
                        static_cast<int>(v) + 1, Qt::AlignHCenter);
    for (std::size_t series = 0; series < kStandardPrefixes.size(); ++series) {
        grid->addWidget(new QLabel(kStandardPrefixes[series].trimmed(), spreadPart_),
                        static_cast<int>(series) + 2, 0);
        for (std::size_t v = 0; v < kInputValues.size(); ++v) {
            standard_[series][v] = ValueField(
                spreadPart_, InputValueCaption(kInputValues[v], kStandardPrefixes[series]));
            grid->addWidget(standard_[series][v], static_cast<int>(series) + 2,
                            static_cast<int>(v) + 1);
        }
    }
    part->addLayout(grid);
    column->addWidget(spreadPart_);

    connect(coil_, &QLineEdit::textEdited, this, [this] { coilTyped_ = true; });
    // Enter, or the focus moving on, designs for the coil typed.
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
