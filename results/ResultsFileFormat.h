// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "InputFields.h"
#include "TrackingSolver.h"

#include <QString>
#include <QStringList>

#include <array>
#include <variant>

class QDateTime;

namespace kalibrix {

// What a line of the results file shows: one of the six inputs as typed, or
// one of the ten results as shown.
using ResultsFileField = std::variant<InputField, OutputField>;

// Lines 2 to 17 of a results file, in file order: each a 13-character label
// (the name padded with blanks, "=" and one blank), the text of its field,
// then the unit.
struct ResultsFileLine {
    const char* label;
    ResultsFileField field;
    const char* unit;
};

inline constexpr std::array<ResultsFileLine, 16> kResultsFileLines{{
    {"C_min      = ", InputField::c_min, "  pf"},
    {"C_max      = ", InputField::c_max, "  pf"},
    {"C_sz       = ", InputField::c_szort, "  pf"},
    {"f_min      = ", InputField::f_min, "  MHz"},
    {"f_max      = ", InputField::f_max, "  MHz"},
    {"f_kf       = ", InputField::f_kf, "  MHz"},
    {"L_b        = ", OutputField::l_b, "  uH"},
    {"C_tb       = ", OutputField::c_tb, "  pf"},
    {"L_o        = ", OutputField::l_o, "  uH"},
    {"C_to       = ", OutputField::c_to, "  pf"},
    {"C_hp1      = ", OutputField::c_1, "  pf"},
    {"C_hp2      = ", OutputField::c_2, "  pf"},
    {"f_h1       = ", OutputField::f_1, "  MHz"},
    {"f_h2       = ", OutputField::f_2, "  MHz"},
    // Both extremes are "maximum deviations": the upper one, then the lower.
    {"f_max_elt  = ", OutputField::p_elt, "  Hz"},
    {"f_max_elt  = ", OutputField::n_elt, "  Hz"},
}};

// The texts of the fields of kResultsFileLines, in its order.
using ResultTexts = std::array<QString, kResultsFileLines.size()>;

// The 17 lines of the results file, without line ends: line 1 holds `now`
// in the date and time formats of the C library's LC_TIME locale.
QStringList ResultsFileText(const ResultTexts& texts, const QDateTime& now);

} // namespace kalibrix
