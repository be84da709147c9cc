// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QLabel>

namespace kalibrix {

// Picture1: the circuit diagram at its natural size of 408 x 130 logical
// pixels from the top-left corner, cut off by the border where it does not
// fit. It is drawn at the screen's device pixel ratio, so it stays sharp on
// a scaled screen, and drawn again when the window moves to a screen of
// another ratio.
class CircuitDiagram : public QLabel {
public:
    explicit CircuitDiagram(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Device pixels per logical pixel of the pixmap shown; 0 before the first.
    qreal ratio_ = 0.0;
};

// The window icon at 32, 48, 64, 96 and 128 pixels: the 32-pixel icon at
// scales 1, 1.5, 2, 3 and 4, each drawn for its size.
QIcon WindowIcon();

} // namespace kalibrix
