// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TextField.h"

namespace kalibrix {

// The character filter of the six numeric input fields, for one typed
// character code: a comma (44) becomes a point (46); backspace (8), the point
// and the digits stay; every other code becomes 0, meaning nothing is
// inserted. The field inserts the character whose code KeyAscii holds after
// the call.
void FilterNumericKey(int& KeyAscii);

// Turns every comma of the field's text into a point on each change, so that
// a number typed or pasted with a decimal comma is read with its decimals.
void ReadCommaAsPoint(QLineEdit& field);

// One of the six input fields. Typed characters pass FilterNumericKey before
// the field sees them; keys without a character (arrows, Home, End, Delete,
// Tab) keep their effect. Text that arrives otherwise (pasted, dropped) is
// taken as it is, except that a comma in it becomes a point. Each time the
// focus moves on to another control, the text's leading number times the
// factor is stored in the given state member.
class NumericField : public TextField {
    Q_OBJECT
public:
    NumericField(double& storedValue, double factor, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // False when the number is beyond a double; the stored value then stays.
    bool StoreValue();

    double& storedValue_;
    double factor_;
};

} // namespace kalibrix
