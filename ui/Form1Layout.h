// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "InputFields.h"

#include <QRect>

#include <array>
#include <span>
#include <vector>

// The fixed layout of the main window: one table per container, positions and
// sizes in twips (1440 per inch, 15 per pixel at 96 dpi). A control in a frame
// is placed from the frame's outer top-left corner, one on the window from the
// client area's top-left corner.
namespace kalibrix::form1 {

// Every control of the window, and the window itself as the outermost container.
// The controls stand grouped by the container that holds them, in the
// layout's order.
// clang-format off
enum class ControlId {
    Form1,
    Frame1, Label19, Frame2, Frame7,
    Label1, c_min, Label2, c_max, Label5, f_kf, Label4, f_min, Label3, f_max, Label6, c_szort,
    start, kilep, Label18, filenev, Command1, Picture1, Label16,
    Frame4, Frame3, Frame5, Frame8, Frame6,
    Label9, l_b, Label10, c_tb,
    Label7, l_o, Label8, c_to,
    Label11, f_1, Label12, f_2,
    Label20, c_1, Label21, c_2,
    Label14, p_elt, Label15, n_elt,
    pct_main,
    Count
};
// clang-format on

inline constexpr auto kControlCount = static_cast<std::size_t>(ControlId::Count);

enum class ControlKind {
    Frame, // captioned group frame
    Label, // left-aligned label
    CentredLabel,
    NumericField,  // one of the six inputs with the key filter
    TextField,     // editable, unfiltered (the file name)
    ReadOnlyField, // a result
    Button,
    Picture, // the circuit diagram
    Graph,   // the deviation graph area
};

struct Twips {
    int left, top, width, height;
};

struct ControlSpec {
    ControlId id;
    const char* name; // the Qt objectName
    ControlKind kind;
    Twips place;
    int tabIndex;
    const char* caption = "";
    const char* toolTip = "";
};

struct ContainerSpec {
    ControlId container;
    std::span<const ControlSpec> controls;
};

// Placement and size of the window's client area on the screen.
inline constexpr Twips kWindowPlace{2760, 870, 13125, 11775};

// The containers, each listed after the one that holds it.
extern const std::array<ContainerSpec, 9> kContainers;

// The layout row of a control.
const ControlSpec& Spec(ControlId id);

// The numeric field of an input: the layout row that bears the input's name.
const ControlSpec& InputControl(InputField field);

// The controls that take the keyboard focus (all but frames and labels), in
// tab order.
std::vector<const ControlSpec*> TabChain();

// The one conversion from twips to pixels.
QRect PixelRect(const Twips& place);

} // namespace kalibrix::form1
