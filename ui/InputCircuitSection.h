// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Bandspread.h"
#include "PadderText.h"
#include "TrackingCalculator.h"

#include <QGroupBox>

#include <array>
#include <optional>

class QLabel;
class QLineEdit;
class QRadioButton;

namespace kalibrix {

// The padder window's choice of input circuit: the main window's, with its
// trimmer alone, or the bandspread one with a series capacitor, for the
// user's coil (typed in µH, a comma becoming a point, as in the own points),
// with the range of coils that cover the band beside it, the circuit's Cs_b
// and Cp_b, and the circuit re-set for the E12 and E24 Cs_b. Until the user
// chooses, the choice follows the verdict on the calculation, and until the
// user types a coil, the coil is the default for the band.
class InputCircuitSection : public QGroupBox {
    Q_OBJECT
public:
    // `computeCaption` is the caption of the button that designs for the coil
    // typed, the window's calculate buttons' own.
    explicit InputCircuitSection(const QString& computeCaption, QWidget* parent = nullptr);

    // The calculation the window designs for.
    void Follow(const TrackingCalculator& calc);
    // Chooses the bandspread circuit, as the notes' link asks.
    void ChooseBandspread();

    bool Bandspread() const;
    QString CoilText() const;
    // The range for the calculation followed; none when no coil covers it.
    const std::optional<CoilRange>& Range() const { return range_; }

    // The bandspread values among the design's rows; empty fields without one.
    void ShowRows(const std::vector<PadderRow>& rows);
    void ClearValues();

signals:
    // The choice or the coil changed: the design is to be made again.
    void Changed();

private:
    void ChoiceMade();

    std::optional<CoilRange> range_;
    bool chosen_ = false;    // the user chose an input circuit
    bool coilTyped_ = false; // the user typed a coil
    QString designedCoil_;   // the coil text the last Changed() was sent for

    QRadioButton* trimmer_ = nullptr;
    QRadioButton* spread_ = nullptr;
    QLineEdit* coil_ = nullptr;
    QLabel* rangeLabel_ = nullptr;
    QWidget* spreadPart_ = nullptr; // everything that only the bandspread circuit has
    // Cs_b and Cp_b; the coil is the field the user types it in.
    std::array<QLineEdit*, kInputValues.size()> values_{};
    std::array<std::array<QLineEdit*, kInputValues.size()>, 2> standard_{};
};

} // namespace kalibrix
