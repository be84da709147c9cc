#include "Form1.h"

#include "DeviationGraph.h"
#include "Help.h"
#include "MessageBox.h"
#include "NumericField.h"
#include "ResultsFile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QStyleFactory>

#include <algorithm>
#include <exception>
#include <vector>

namespace {

using form1::ControlId;
using form1::ControlKind;
using kalibrix::CalculationState;

// The six inputs: where each stores its value and the factor from the unit
// typed (pF, MHz) to farad or hertz.
struct NumericInput {
    ControlId field;
    double CalculationState::*member;
    double factor;
};

constexpr NumericInput kNumericInputs[] = {
    {ControlId::c_min, &CalculationState::C_h_min, 1e-12},
    {ControlId::c_max, &CalculationState::C_h_max, 1e-12},
    {ControlId::f_max, &CalculationState::f_max, 1e6},
    {ControlId::f_min, &CalculationState::f_min, 1e6},
    {ControlId::c_szort, &CalculationState::C_sz, 1e-12},
    {ControlId::f_kf, &CalculationState::f_kf, 1e6},
};

// The inputs that must not be empty for a calculation; an empty c_szort
// counts as 0 pF.
constexpr ControlId kRequiredInputs[] = {
    ControlId::c_min, ControlId::c_max, ControlId::f_min, ControlId::f_max, ControlId::f_kf,
};

// The field of each kalibrix::OutputField, in the enum's order.
constexpr ControlId kOutputFields[] = {
    ControlId::c_tb, ControlId::l_b, ControlId::f_1, ControlId::f_2, ControlId::c_to,
    ControlId::c_1,  ControlId::c_2, ControlId::l_o, ControlId::n_elt, ControlId::p_elt,
};

// The fields whose texts the results file records, in file order.
constexpr ControlId kResultsFileFields[] = {
    ControlId::c_min, ControlId::c_max, ControlId::c_szort, ControlId::f_min,
    ControlId::f_max, ControlId::f_kf,  ControlId::l_b,     ControlId::c_tb,
    ControlId::l_o,   ControlId::c_to,  ControlId::c_1,     ControlId::c_2,
    ControlId::f_1,   ControlId::f_2,   ControlId::p_elt,   ControlId::n_elt,
};
static_assert(std::size(kResultsFileFields) == std::tuple_size_v<kalibrix::ResultTexts>);

constexpr std::size_t Index(ControlId id)
{
    return static_cast<std::size_t>(id);
}

bool TakesFocus(ControlKind kind)
{
    return kind != ControlKind::Frame && kind != ControlKind::Label
           && kind != ControlKind::CentredLabel;
}

// The 8-point dialog font of frames, labels and buttons. The classic dialog
// font is narrower than Arial; at 92 % of Arial's width every caption fits
// its box as laid out.
QFont DialogFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    font.setStretch(92);
    return font;
}

// Every text field: Arial 14.25 points, normal weight. Where Arial is
// missing, fontconfig puts a metric-compatible substitute in its place.
QFont TextFieldFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(14.25);
    font.setWeight(QFont::Normal);
    return font;
}

QStyle* ClassicStyle()
{
    static QStyle* const style = QStyleFactory::create(QStringLiteral("Windows"));
    return style;
}

// A PNG image compiled into the program. Told the format and kept from
// guessing, the reader goes straight to Qt's own PNG decoder; left to guess,
// it first loads every installed image-format plugin (SVG, JPEG, GIF, ICO and
// the libraries behind them) to ask each whether it reads PNG.
QPixmap ResourcePng(const QString& path)
{
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

QLineEdit* StyleTextField(QLineEdit* field)
{
    field->setFont(TextFieldFont());
    field->setAlignment(Qt::AlignCenter);
    return field;
}

} // namespace

// The icon and the diagram are compiled into this static library; resources
// of a static library are registered by hand.
static void InitResources()
{
    Q_INIT_RESOURCE(resources);
}

template <class Widget>
Widget* Form1::Control(ControlId id) const
{
    return static_cast<Widget*>(controls_[Index(id)]);
}

Form1::Form1(QWidget* parent) : QWidget(parent)
{
    InitResources();
    setWindowTitle(QStringLiteral("Kalibrix "));
    setWindowIcon(QIcon(ResourcePng(QStringLiteral(":/kalibrix.png"))));
    setFont(DialogFont());
    setGeometry(form1::PixelRect(form1::kWindowPlace));

    calculator_.decimalSeparator = QLocale().decimalPoint().toStdString();

    BuildControls();
    SetTabOrder();

    connect(Control<QPushButton>(ControlId::start), &QPushButton::clicked, this,
            &Form1::StartClicked);
    connect(Control<QPushButton>(ControlId::Command1), &QPushButton::clicked, this,
            &Form1::SaveClicked);
    connect(Control<QPushButton>(ControlId::kilep), &QPushButton::clicked, this, &QWidget::close);
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            [this] { ShowHelp(this); });

    Control<QPushButton>(ControlId::Command1)->hide();
    Control<QWidget>(ControlId::c_min)->setFocus();
}

void Form1::sort(kalibrix::SweepTable& List)
{
    kalibrix::sort(List);
}

void Form1::BuildControls()
{
    controls_[Index(ControlId::Form1)] = this;
    for (const form1::ContainerSpec& container : form1::kContainers) {
        QWidget* parent = controls_[Index(container.container)];
        for (const form1::ControlSpec& spec : container.controls) {
            QWidget* control = CreateControl(spec, parent);
            control->setObjectName(QString::fromUtf8(spec.name));
            control->setGeometry(form1::PixelRect(spec.place));
            control->setToolTip(QString::fromUtf8(spec.toolTip));
            controls_[Index(spec.id)] = control;
        }
    }
}

QWidget* Form1::CreateControl(const form1::ControlSpec& spec, QWidget* container)
{
    const QString caption = QString::fromUtf8(spec.caption);
    switch (spec.kind) {
    case ControlKind::Frame: {
        // The classic style draws the caption on the frame's top border.
        auto* frame = new QGroupBox(caption, container);
        frame->setStyle(ClassicStyle());
        return frame;
    }
    case ControlKind::Label:
    case ControlKind::CentredLabel: {
        auto* label = new QLabel(caption, container);
        label->setAlignment(Qt::AlignTop
                            | (spec.kind == ControlKind::Label ? Qt::AlignLeft : Qt::AlignHCenter));
        return label;
    }
    case ControlKind::NumericField: {
        const auto input = std::ranges::find(kNumericInputs, spec.id, &NumericInput::field);
        return StyleTextField(
            new NumericField(calculator_.state.*(input->member), input->factor, container));
    }
    case ControlKind::TextField:
        return StyleTextField(new QLineEdit(container));
    case ControlKind::ReadOnlyField: {
        QLineEdit* field = StyleTextField(new QLineEdit(container));
        field->setReadOnly(true);
        return field;
    }
    case ControlKind::Button:
        return new QPushButton(caption, container);
    case ControlKind::Picture: {
        // The diagram at its natural size from the top-left corner, cut off by
        // the border where it does not fit.
        auto* picture = new QLabel(container);
        picture->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
        picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        picture->setPixmap(ResourcePng(QStringLiteral(":/circuit.png")));
        picture->setFocusPolicy(Qt::StrongFocus);
        return picture;
    }
    case ControlKind::Graph:
        pct_main_ = new DeviationGraph(calculator_, container);
        pct_main_->setFocusPolicy(Qt::StrongFocus);
        return pct_main_;
    }
    return nullptr;
}

void Form1::SetTabOrder()
{
    std::vector<const form1::ControlSpec*> chain;
    for (const form1::ContainerSpec& container : form1::kContainers)
        for (const form1::ControlSpec& spec : container.controls)
            if (TakesFocus(spec.kind))
                chain.push_back(&spec);
    std::ranges::sort(chain, {}, &form1::ControlSpec::tabIndex);
    for (std::size_t i = 1; i < chain.size(); ++i)
        setTabOrder(controls_[Index(chain[i - 1]->id)], controls_[Index(chain[i]->id)]);
}

void Form1::StartClicked()
{
    const QString missingData = QStringLiteral("Egy, vagy több adat hiányzik.");
    const bool anyEmpty = std::ranges::any_of(
        kRequiredInputs, [this](ControlId id) { return Control<QLineEdit>(id)->text().isEmpty(); });
    if (anyEmpty) {
        ShowErrorMessage(this, missingData);
        return;
    }
    // Every calculation error, and anything else thrown on the way, ends in the
    // same message; whatever was stored or shown before it stays.
    try {
        kalibrix::SolveTracking(calculator_, *this);
        pct_main_->DrawDeviationGraph();
        Control<QPushButton>(ControlId::Command1)->show();
    } catch (const std::exception&) {
        ShowErrorMessage(this, missingData);
    }
}

void Form1::SaveClicked()
{
    auto* filenev = Control<QLineEdit>(ControlId::filenev);
    if (filenev->text().isEmpty()) {
        ShowErrorMessage(this, QStringLiteral("Célszerűnek látszik a mentésnek nevet adni"));
        filenev->setFocus();
        return;
    }
    kalibrix::ResultTexts texts;
    std::ranges::transform(kResultsFileFields, texts.begin(),
                           [this](ControlId id) { return Control<QLineEdit>(id)->text(); });
    try {
        const QString path =
            kalibrix::ResultsFilePath(QCoreApplication::applicationDirPath(), filenev->text());
        kalibrix::WriteResultsFile(path, texts, QDateTime::currentDateTime(), QLocale());
    } catch (const kalibrix::ResultsFileError& error) {
        ShowErrorMessage(this, error.userMessage());
    }
}

void Form1::ShowOutput(kalibrix::OutputField field, const std::string& text)
{
    Control<QLineEdit>(kOutputFields[static_cast<std::size_t>(field)])
        ->setText(QString::fromStdString(text));
}
