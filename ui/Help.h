#pragma once

class QWidget;

namespace kalibrix {

// The short help that F1 opens beside the window: what the inputs, the
// buttons, the results and the graph mean. Non-modal; a second F1 brings the
// open help to the front instead of opening another.
void ShowHelp(QWidget* parent);

} // namespace kalibrix
