// SPDX-License-Identifier: GPL-3.0-or-later
#include "Form1.h"

#include "Accessibility.h"
#include "DeviationGraph.h"
#include "Form1Fields.h"
#include "Help.h"
#include "HelpText.h"
#include "MessageBox.h"
#include "NumericField.h"
#include "PadderWindow.h"
#include "Pictures.h"
#include "ResultsFileFormat.h"
#include "Saving.h"
#include "ScreenFit.h"
#include "TextField.h"

#include <QDateTime>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QStyleFactory>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>
#include <limits>
#include <vector>

namespace kalibrix {

namespace {

using form1::ControlId;
using form1::ControlKind;

constexpr std::size_t Index(ControlId id)
{
    return static_cast<std::size_t>(id);
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

// Every text field: Arial 14.25 points, normal weight, at its own width (set
// explicitly, or the field would take the narrowed width of the window's
// dialog font). Where Arial is missing, fontconfig puts a metric-compatible
// substitute in its place.
QFont TextFieldFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(14.25);
    font.setWeight(QFont::Normal);
    font.setStretch(QFont::Unstretched);
    return font;
}

QStyle* ClassicStyle()
{
    static QStyle* const style = QStyleFactory::create(QStringLiteral("Windows"));
    return style;
}

// Every text field takes text of any length: QLineEdit's own limit of 32767
// characters would cut a long paste, so the limit is the largest it takes.
QLineEdit* StyleTextField(QLineEdit* field)
{
    field->setFont(TextFieldFont());
    field->setAlignment(Qt::AlignCenter);
    field->setMaxLength(std::numeric_limits<int>::max());
    return field;
}

// The view that fills the window and shows its client area of fixed size,
// scrolled where the window is smaller. It takes no focus of its own; tabbing
// to a control scrolls it into view.
QScrollArea* ScrolledClientArea(QWidget* window, const QSize& size)
{
    auto* clientArea = new QWidget;
    clientArea->setFixedSize(size);
    auto* view = new QScrollArea(window);
    view->setFrameShape(QFrame::NoFrame);
    view->setFocusPolicy(Qt::NoFocus);
    view->setWidget(clientArea);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(QMargins());
    layout->addWidget(view);
    return view;
}

} // namespace

template <class Widget>
Widget* Form1::Control(ControlId id) const
{
    return static_cast<Widget*>(controls_[Index(id)]);
}

Form1::Form1(QWidget* parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Kalibrix "));
    setWindowIcon(WindowIcon());
    setFont(DialogFont());

    calculator_.decimalSeparator = QLocale().decimalPoint().toStdString();

    // At its place the window shows its client area whole. Where the screen
    // has less room, the window takes what there is, with scroll bars added
    // in the directions that need them, and moves no further than it must.
    const QRect place = form1::PixelRect(form1::kWindowPlace);
    const QScrollArea* view = ScrolledClientArea(this, place.size());
    controls_[Index(ControlId::Form1)] = view->widget();
    setGeometry(place);
    resize(ScrolledClientSize(place.size(), ClientRoom(*this),
                              view->verticalScrollBar()->sizeHint().width()));
    FitOnScreen(*this);

    BuildControls();
    SetTabOrder();
    NameForScreenReaders();

    connect(Control<QPushButton>(ControlId::start), &QPushButton::clicked, this,
            &Form1::StartClicked);
    connect(Control<QPushButton>(ControlId::Command1), &QPushButton::clicked, this,
            &Form1::SaveClicked);
    connect(Control<QPushButton>(ControlId::kilep), &QPushButton::clicked, this, &QWidget::close);
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            &Form1::ShowHelp);
    connect(new QShortcut(QKeySequence(Qt::Key_F2), this), &QShortcut::activated, this,
            &Form1::ShowPadder);

    Control<QPushButton>(ControlId::Command1)->hide();
    Control<QWidget>(ControlId::c_min)->setFocus();
}

Form1::~Form1()
{
    // The controls go first, while the calculation state they write into and
    // read from is still there: a numeric field that holds the focus stores
    // its text as it loses the focus, and the graph reads the tables.
    DeleteControls();
}

void Form1::DeleteControls()
{
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        delete child;
    controls_.fill(nullptr);
    pct_main_ = nullptr;
    help_ = nullptr;
    padder_ = nullptr;
}

void Form1::sort(SweepTable& List)
{
    kalibrix::sort(List);
}

void Form1::BuildControls()
{
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
        // Without a name of its own, a frame inside another frame is read
        // out under the outer frame's caption.
        frame->setAccessibleName(caption);
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
        const auto input =
            std::ranges::find(kInputs, std::string_view(spec.name), &InputSpec::name);
        return StyleTextField(
            new NumericField(calculator_.state.*(input->member), input->factor, container));
    }
    case ControlKind::TextField:
        return StyleTextField(new TextField(container));
    case ControlKind::ReadOnlyField: {
        QLineEdit* field = StyleTextField(new TextField(container));
        field->setReadOnly(true);
        return field;
    }
    case ControlKind::Button:
        return new QPushButton(caption, container);
    case ControlKind::Picture: {
        auto* picture = new CircuitDiagram(container);
        picture->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
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
    const std::vector<const form1::ControlSpec*> chain = form1::TabChain();
    for (std::size_t i = 1; i < chain.size(); ++i)
        setTabOrder(controls_[Index(chain[i - 1]->id)], controls_[Index(chain[i]->id)]);
}

void Form1::NameForScreenReaders()
{
    for (const form1::LabelledField& labelled : form1::kLabelledFields) {
        auto* label = Control<QLabel>(labelled.label);
        auto* field = Control<QLineEdit>(labelled.field);
        label->setBuddy(field);
        const auto* frame = static_cast<const QGroupBox*>(field->parentWidget());
        field->setAccessibleName(
            FieldName(frame->title(), label->text(), QString::fromUtf8(labelled.qualifier),
                      form1::Spec(labelled.field).kind == ControlKind::ReadOnlyField));
    }
    auto* diagram = Control<QWidget>(ControlId::Picture1);
    diagram->setAccessibleName(DiagramName());
    diagram->setAccessibleDescription(DiagramDescription());
    pct_main_->setAccessibleName(GraphName());
    pct_main_->setAccessibleDescription(GraphDescription(calculator_));
}

// The help's notes and the padder window follow every press, successful or
// not; they speak of a design only once its sweep has run through.
void Form1::StartClicked()
{
    lastRun_ = Calculate();
    UpdateHelpNotes();
    // A closed padder window does no work; it catches up when F2 shows it.
    if (padder_ && padder_->isVisible())
        padder_->Follow(calculator_, lastRun_ == LastRun::Complete);
}

LastRun Form1::Calculate()
{
    const QString missingData = QStringLiteral("Egy, vagy több adat hiányzik.");
    const bool anyEmpty = std::ranges::any_of(kInputs, [this](const InputSpec& input) {
        return input.required
               && Control<QLineEdit>(form1::InputControl(input.field).id)->text().isEmpty();
    });
    if (anyEmpty) {
        ShowErrorMessage(this, missingData);
        return LastRun::Failed;
    }
    // Every calculation error, and anything else thrown on the way, ends in the
    // same message; whatever was stored or shown before it stays.
    LastRun run = LastRun::Failed;
    try {
        SolveTracking(calculator_, *this);
        run = LastRun::Complete;
        pct_main_->DrawDeviationGraph();
        pct_main_->setAccessibleDescription(GraphDescription(calculator_));
        Control<QPushButton>(ControlId::Command1)->show();
    } catch (const std::exception&) {
        ShowErrorMessage(this, missingData);
    }
    return run;
}

// The help is a window of its own: it takes no place in this window's tab
// order, and this window keeps its focus widget while the help is in front.
void Form1::ShowHelp()
{
    if (!help_) {
        help_ = new HelpWindow(this);
        connect(help_, &HelpWindow::PadderRequested, this, &Form1::ShowPadder);
        connect(help_, &HelpWindow::BandspreadRequested, this, [this] {
            ShowPadder();
            padder_->ShowBandspread();
        });
        connect(help_, &SideWindow::HelpRequested, this, &Form1::ShowHelp);
    }
    UpdateHelpNotes();
    help_->ShowInFront();
}

void Form1::UpdateHelpNotes()
{
    if (help_)
        help_->SetNotes(DesignNotesHtml(calculator_, lastRun_));
}

void Form1::ShowPadder()
{
    if (!padder_) {
        padder_ = new PadderWindow(this);
        connect(padder_, &SideWindow::HelpRequested, this, &Form1::ShowHelp);
    }
    padder_->Follow(calculator_, lastRun_ == LastRun::Complete);
    padder_->ShowInFront();
}

void Form1::SaveClicked()
{
    SaveUnderName(*Control<QLineEdit>(ControlId::filenev), [this] {
        ResultTexts texts;
        std::ranges::transform(
            kResultsFileLines, texts.begin(), [this](const ResultsFileLine& line) {
                return Control<QLineEdit>(form1::FileFieldControl(line.field))->text();
            });
        return ResultsFileText(texts, QDateTime::currentDateTime());
    });
}

void Form1::ShowOutput(OutputField field, const std::string& text)
{
    Control<QLineEdit>(form1::ResultControl(field))->setText(QString::fromStdString(text));
}

} // namespace kalibrix
