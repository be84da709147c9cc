// SPDX-License-Identifier: GPL-3.0-or-later
#include "Form1Layout.h"

#include <algorithm>
#include <stdexcept>
#include <string_view>

namespace kalibrix::form1 {
namespace {

using enum ControlId;
using enum ControlKind;

constexpr int kTwipsPerPixel = 15;

constexpr ControlSpec kWindow[] = {
    {Frame1, "Frame1", Frame, {240, 240, 12615, 3135}, 0, "Bemeneti adatok"},
    {Label19,
     "Label19",
     CentredLabel,
     {2760, 3480, 6975, 255},
     43,
     "Segítség, az F1 megnyomásával érhető el.            Ajánlott képernyő felbontás 1280 X 1024"},
    {Frame2, "Frame2", Frame, {240, 3720, 12615, 2655}, 13, "Kimeneti datok"},
    {Frame7, "Frame7", Frame, {240, 6480, 12615, 5175}, 32},
};

constexpr ControlSpec kFrame1[] = {
    {Label1, "Label1", Label, {240, 240, 1575, 255}, 7, "C_h_min ( pf )"},
    {c_min, "c_min", NumericField, {240, 600, 1575, 405}, 1},
    {Label2, "Label2", Label, {2160, 240, 1575, 255}, 8, "C_h_max ( pf )"},
    {c_max, "c_max", NumericField, {2160, 600, 1575, 375}, 2},
    {Label5, "Label5", Label, {4200, 240, 1815, 255}, 11, "középfrekvencia ( MHz )"},
    {f_kf, "f_kf", NumericField, {4200, 600, 1575, 375}, 5},
    {Label4, "Label4", Label, {240, 1200, 1455, 255}, 10, "fmin ( MHz)"},
    {f_min, "f_min", NumericField, {240, 1560, 1575, 375}, 4},
    {Label3, "Label3", Label, {2160, 1200, 1455, 255}, 9, "fmax ( MHz)"},
    {f_max, "f_max", NumericField, {2160, 1560, 1575, 375}, 3},
    {Label6, "Label6", Label, {4200, 1200, 1575, 255}, 15, "C szórt kapacitás ( pf )"},
    {c_szort, "c_szort", NumericField, {4200, 1560, 1575, 375}, 14},
    {start, "start", Button, {360, 2160, 1095, 375}, 6, "Számol"},
    {kilep, "kilép", Button, {1800, 2160, 1095, 375}, 38, "Kilép"},
    {Label18, "Label18", Label, {3000, 2280, 1095, 255}, 42, "Mentés neve"},
    {filenev, "filenev", TextField, {4200, 2160, 1575, 375}, 40},
    {Command1, "Command1", Button, {4200, 2640, 1575, 375}, 41, "Ment"},
    {Picture1, "Picture1", Picture, {6360, 240, 6135, 1935}, 12},
    {Label16, "Label16", CentredLabel, {6600, 2400, 5415, 255}, 37, "Kétpontos együttfutás."},
};

constexpr ControlSpec kFrame2[] = {
    {Frame4, "Frame4", Frame, {240, 480, 2175, 1815}, 17, "Bemenő kör ( uH, pf )"},
    {Frame3, "Frame3", Frame, {2640, 480, 2175, 1815}, 16, "Oszcillátor kör ( uH, pf )"},
    {Frame5, "Frame5", Frame, {5160, 480, 2175, 1815}, 18, "Együttfutási pontok ( MHz )"},
    {Frame8, "Frame8", Frame, {7680, 480, 2175, 1815}, 44, "Hangoló kapacitás ( pf )"},
    {Frame6, "Frame6", Frame, {10200, 480, 2175, 1815}, 19, "Maximális eltérések"},
};

constexpr ControlSpec kFrame4[] = {
    {Label9, "Label9", Label, {240, 240, 375, 255}, 28, "Lb"},
    {l_b, "l_b", ReadOnlyField, {240, 480, 1575, 375}, 22},
    {Label10, "Label10", Label, {240, 960, 375, 255}, 29, "Cp_b"},
    {c_tb, "c_tb", ReadOnlyField, {240, 1200, 1575, 375}, 23},
};

constexpr ControlSpec kFrame3[] = {
    {Label7, "Label7", Label, {120, 240, 375, 255}, 26, "Lo"},
    {l_o, "l_o", ReadOnlyField, {240, 480, 1575, 405}, 20},
    {Label8, "Label8", Label, {120, 960, 375, 255}, 27, "Cp_o"},
    {c_to, "c_to", ReadOnlyField, {240, 1200, 1575, 405}, 21},
};

constexpr ControlSpec kFrame5[] = {
    {Label11, "Label11", Label, {240, 240, 375, 255}, 30, "F1"},
    {f_1, "f_1", ReadOnlyField, {240, 480, 1575, 450}, 24},
    {Label12, "Label12", Label, {120, 960, 495, 255}, 31, "   F2"},
    {f_2, "f_2", ReadOnlyField, {240, 1200, 1575, 450}, 25},
};

constexpr ControlSpec kFrame8[] = {
    {Label20, "Label20", Label, {240, 240, 400, 255}, 47, "Ch"},
    {c_1,
     "c_1",
     ReadOnlyField,
     {240, 480, 1575, 450},
     45,
     "",
     "Az első együttfutási ponthoz tartozó hangoló kapacitás értéke."},
    {Label21, "Label21", Label, {240, 960, 400, 255}, 48, "Ch"},
    {c_2,
     "c_2",
     ReadOnlyField,
     {240, 1200, 1575, 450},
     46,
     "",
     "A második együttfutási ponthoz tartozó hangoló kapacitás értéke."},
};

constexpr const char* kDeviationToolTip = "A bemenőkör eltérése az ideálistól:(fosz - fkf) - fbe";

constexpr ControlSpec kFrame6[] = {
    {Label14, "Label14", Label, {240, 240, 975, 255}, 35, "(Hz)"},
    {p_elt, "p_elt", ReadOnlyField, {240, 480, 1575, 450}, 33, "", kDeviationToolTip},
    {Label15, "Label15", Label, {240, 960, 615, 255}, 36, "(Hz)"},
    {n_elt, "n_elt", ReadOnlyField, {240, 1200, 1575, 450}, 34, "", kDeviationToolTip},
};

constexpr ControlSpec kFrame7[] = {
    {pct_main, "pct_main", Graph, {240, 240, 12135, 4695}, 39},
};

} // namespace

const std::array<ContainerSpec, 9> kContainers{{
    {ControlId::Form1, kWindow},
    {ControlId::Frame1, kFrame1},
    {ControlId::Frame2, kFrame2},
    {ControlId::Frame4, kFrame4},
    {ControlId::Frame3, kFrame3},
    {ControlId::Frame5, kFrame5},
    {ControlId::Frame8, kFrame8},
    {ControlId::Frame6, kFrame6},
    {ControlId::Frame7, kFrame7},
}};

namespace {

// The first layout row, over all containers, that matches.
template <class Predicate>
const ControlSpec& FindSpec(Predicate matches, const char* missing)
{
    for (const ContainerSpec& container : kContainers) {
        const auto found = std::ranges::find_if(container.controls, matches);
        if (found != container.controls.end())
            return *found;
    }
    throw std::out_of_range(missing);
}

} // namespace

const ControlSpec& Spec(ControlId id)
{
    return FindSpec([id](const ControlSpec& spec) { return spec.id == id; },
                    "no layout row for this control");
}

const ControlSpec& InputControl(InputField field)
{
    const std::string_view name = Input(field).name;
    return FindSpec(
        [name](const ControlSpec& spec) {
            return spec.kind == ControlKind::NumericField && spec.name == name;
        },
        "no numeric field for this input");
}

std::vector<const ControlSpec*> TabChain()
{
    std::vector<const ControlSpec*> chain;
    for (const ContainerSpec& container : kContainers)
        for (const ControlSpec& spec : container.controls)
            if (spec.kind != Frame && spec.kind != Label && spec.kind != CentredLabel)
                chain.push_back(&spec);
    std::ranges::sort(chain, {}, &ControlSpec::tabIndex);
    return chain;
}

QRect PixelRect(const Twips& place)
{
    // Rounded to the nearest pixel: a few widths (400 twips) are no whole
    // number of pixels.
    const auto px = [](int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; };
    return {px(place.left), px(place.top), px(place.width), px(place.height)};
}

} // namespace kalibrix::form1
