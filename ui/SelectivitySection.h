// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CalculationState.h"
#include "SelectivityText.h"
#include "TrackingCalculator.h"

#include <QColor>
#include <QGroupBox>

#include <array>
#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QSpinBox;

namespace kalibrix {

class PadderGraph;

// A curve of the padder window as the section names and draws it.
struct SelectivityCurveStyle {
    QString name;
    QColor colour;
};

// The padder window's "Szelektivitás" section: the input circuit's Q
// (prefilled with the band's typical lower Q until the user types one) and
// the number of equal tuned circuits; for each curve the smallest image
// rejection, the largest loss by mistracking and the smallest IF rejection,
// each with the dial frequency where it occurs; a graph of the image
// rejection across the band, and a verdict.
class SelectivitySection : public QGroupBox {
    Q_OBJECT
public:
    explicit SelectivitySection(std::vector<SelectivityCurveStyle> curves,
                                QWidget* parent = nullptr);

    // The design of `calc` with each curve's deviation per step (Hz), in the
    // order of the constructor's curves; none for a curve not drawn.
    void ShowDesign(const TrackingCalculator& calc,
                    const std::vector<const SweepTable*>& deviations);
    void Clear();

    // The section's lines in the saved and copied text; none without a design.
    QStringList FileLines() const;

private:
    void Update();
    void ClearFigures();

    std::vector<SelectivityCurveStyle> styles_;
    std::optional<TrackingCalculator> calc_;
    std::vector<std::optional<SweepTable>> deviations_;
    std::vector<NamedSelectivity> shown_;
    bool qTyped_ = false;

    QLineEdit* q_ = nullptr;
    QSpinBox* circuits_ = nullptr;
    QLabel* message_ = nullptr;
    std::vector<std::array<QLineEdit*, kSelectivityFigures.size()>> fields_;
    PadderGraph* graph_ = nullptr;
    QLabel* legend_ = nullptr;
    QLabel* readout_ = nullptr;
    QLabel* verdict_ = nullptr;
};

} // namespace kalibrix
