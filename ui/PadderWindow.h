// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Bandspread.h"
#include "PadderFit.h"
#include "PadderText.h"
#include "SideWindow.h"
#include "ThreePointTracking.h"
#include "TrackingCalculator.h"

#include <array>
#include <functional>
#include <optional>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kalibrix {

class InputCircuitSection;
class PadderFitPanel;
class PadderGraph;
class SelectivitySection;

// The three-point design with a padder, beside the main window: the placement
// of the tracking points (own points typed in MHz), the design's values, the
// nearest E12 and E24 padders after alignment, a graph of the three-point,
// two-point and E24 curves, a verdict and the alignment steps. It works on a
// copy of the main window's last calculation that completed its sweep.
// Ctrl+C copies the selected text of a field, or without a selection the
// design as text; "Ment" saves the same text in "adatok". Enter in an own
// point's field designs with the own points. Whatever fails in its work
// becomes a text in place of the design.
class PadderWindow : public SideWindow {
    Q_OBJECT
public:
    explicit PadderWindow(QWidget* parent);

    // Works from now on on `calc`, the main window's calculation, when its
    // sweep completed (`sweepCurrent`). A calculation that failed after one
    // that completed leaves the window on the earlier one, and it says so;
    // without an earlier one there are no results.
    void Follow(const TrackingCalculator& calc, bool sweepCurrent) noexcept;
    // Designs the bandspread input circuit, as the notes' link asks.
    void ShowBandspread();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildPlacement();
    QWidget* BuildResults();
    QWidget* BuildStandardPadders();
    QWidget* BuildGraph();
    QWidget* BuildSaveRow();
    QLineEdit* ResultField(const QString& accessibleName);

    PointPlacement Placement() const;
    void PlacementChosen();
    void Recompute() noexcept;
    // Runs a step of the window's work; whatever it throws ends in a failure
    // text in place of the design, so that nothing leaves the slot that runs it.
    void Guarded(const std::function<void()>& step) noexcept;
    // The own points from their fields (Hz); a message when one is missing or
    // its number is too large.
    std::optional<std::array<double, 3>> OwnPoints();
    // The design, its input circuit the bandspread one of `spread` if given.
    void ShowDesign(const ThreePointDesign& design, const BandspreadDesign* spread = nullptr);
    void ShowNoDesign(const QString& why);
    void Save();
    void Copy();
    QStringList FileLines() const;

    std::optional<TrackingCalculator> source_;
    bool lastRunFailed_ = false; // the main window's last calculation did not complete
    std::optional<ThreePointDesign> design_;
    std::optional<BandspreadDesign> spread_; // the input circuit of design_, if bandspread
    PadderChoices choices_;                  // the fitted padders of design_

    QLabel* status_ = nullptr;
    InputCircuitSection* inputs_ = nullptr;
    QButtonGroup* placement_ = nullptr;
    std::array<QLineEdit*, 3> ownFields_{};
    QPushButton* ownCompute_ = nullptr;
    std::array<QLineEdit*, kPadderValues.size()> values_{};
    std::array<std::array<QLineEdit*, kStandardValues.size()>, 2> standard_{};
    QLabel* standardNote_ = nullptr;
    PadderFitPanel* fit_ = nullptr;
    PadderGraph* graph_ = nullptr;
    QLabel* legend_ = nullptr;
    QLabel* readout_ = nullptr;
    QLabel* verdict_ = nullptr;
    QLabel* recipe_ = nullptr;
    SelectivitySection* selectivity_ = nullptr;
    QLineEdit* fileName_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* copy_ = nullptr;
};

} // namespace kalibrix
