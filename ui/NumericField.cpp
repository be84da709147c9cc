// SPDX-License-Identifier: GPL-3.0-or-later
#include "NumericField.h"

#include "Errors.h"
#include "MessageBox.h"
#include "NumberText.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>
#include <QValidator>

namespace kalibrix {

void FilterNumericKey(int& KeyAscii)
{
    constexpr int kBackspace = 8;
    constexpr int kComma = 44;
    constexpr int kPoint = 46;
    if (KeyAscii == kComma)
        KeyAscii = kPoint;
    const bool isDigit = KeyAscii >= '0' && KeyAscii <= '9';
    if (!isDigit && KeyAscii != kPoint && KeyAscii != kBackspace)
        KeyAscii = 0;
}

namespace {

// Drops the next mouse press that reaches the application, as long as it
// arrives before the event loop comes round again.
class MousePressDropper : public QObject {
public:
    explicit MousePressDropper(QObject* parent) : QObject(parent)
    {
        parent->installEventFilter(this);
        QTimer::singleShot(0, this, &QObject::deleteLater);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::MouseButtonPress)
            return false;
        parent()->removeEventFilter(this);
        deleteLater();
        return true;
    }
};

// Turns every comma of a field's text into a point. The field runs it on each
// change of its text, also one pasted (Shift+Insert, a middle click, the
// context menu, a drop); nothing else is changed.
class CommaToPoint : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int&) const override
    {
        input.replace(u',', u'.');
        return Acceptable;
    }
};

} // namespace

void ReadCommaAsPoint(QLineEdit& field)
{
    field.setValidator(new CommaToPoint(&field));
}

// A comma typed becomes a point through the key filter, one pasted through
// ReadCommaAsPoint.
NumericField::NumericField(double& storedValue, double factor, QWidget* parent)
    : TextField(parent), storedValue_(storedValue), factor_(factor)
{
    ReadCommaAsPoint(*this);
}

void NumericField::keyPressEvent(QKeyEvent* event)
{
    // Backspace with Ctrl held types the character DEL (127), as on a classic
    // PC keyboard, whatever text the window system gives the key (a
    // backspace, or none): the filter drops it like the other editing
    // shortcuts, instead of the field deleting the word before the caret.
    constexpr char16_t kDel = 127;
    const bool controlBackspace =
        event->key() == Qt::Key_Backspace && event->modifiers().testFlag(Qt::ControlModifier);
    const QString typed = controlBackspace ? QString(QChar(kDel)) : event->text();
    // Some X key maps give Delete the character 127; it is still a key that
    // types nothing and keeps its editing effect.
    if (typed.isEmpty() || event->key() == Qt::Key_Delete) {
        QLineEdit::keyPressEvent(event);
        return;
    }

    QString kept;
    for (const QChar character : typed) {
        int KeyAscii = character.unicode();
        FilterNumericKey(KeyAscii);
        if (KeyAscii != 0)
            kept += QChar(KeyAscii);
    }

    if (kept.isEmpty()) {
        // Swallowed, Enter and Esc included, so it reaches no other widget.
        event->accept();
        return;
    }
    // A kept backspace deletes the one character before the caret: with a
    // modifier held the field would take it for a shortcut.
    const bool backspace = kept == QLatin1String("\b");
    if (kept == typed && (!backspace || event->modifiers() == Qt::NoModifier)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    // A comma turned into a point: the field gets the point key instead.
    // A backspace goes without its modifiers.
    const int key = backspace                    ? Qt::Key_Backspace
                    : kept == QLatin1String(".") ? Qt::Key_Period
                                                 : event->key();
    const Qt::KeyboardModifiers modifiers = backspace ? Qt::NoModifier : event->modifiers();
    QKeyEvent filtered(event->type(), key, modifiers, kept, event->isAutoRepeat(),
                       static_cast<quint16>(event->count()));
    QLineEdit::keyPressEvent(&filtered);
    event->setAccepted(filtered.isAccepted());
}

void NumericField::focusOutEvent(QFocusEvent* event)
{
    TextField::focusOutEvent(event);
    if (!FocusMovedOn(*event))
        return;
    if (!StoreValue() && event->reason() == Qt::MouseFocusReason) {
        // The message box took the release of the click that moved the focus;
        // its press, still on the way to the control clicked, would leave a
        // button pressed with no release to follow. The click is dropped
        // whole, so nothing runs with the value the user has yet to correct.
        new MousePressDropper(QCoreApplication::instance());
    }
}

bool NumericField::StoreValue()
{
    try {
        storedValue_ = ScaledInput(text().toStdString(), factor_);
        return true;
    } catch (const OverflowError&) {
        ShowErrorMessage(window(), QStringLiteral("A beírt szám túl nagy, nem lehet vele számolni. "
                                                  "A mező korábbi értéke marad érvényben."));
        return false;
    }
}

} // namespace kalibrix
