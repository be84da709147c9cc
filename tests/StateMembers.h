// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The calculation state's scalar members by name, for the tests and the fuzz
// target that check or compare them all. Standard C++ only.

#include "CalculationState.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace kalibrix::test {

struct StateMember {
    std::string_view name;
    double CalculationState::*member;
};

// Every double of CalculationState; besides these it holds only the three
// sweep tables and sweep_i.
inline constexpr std::array<StateMember, 18> kStateMembers{{
    {"f_min", &CalculationState::f_min},
    {"f_max", &CalculationState::f_max},
    {"f_kf", &CalculationState::f_kf},
    {"k_f", &CalculationState::k_f},
    {"C_h_min", &CalculationState::C_h_min},
    {"C_h_max", &CalculationState::C_h_max},
    {"k_f2", &CalculationState::k_f2},
    {"C_sz", &CalculationState::C_sz},
    {"C_tb", &CalculationState::C_tb},
    {"L_b", &CalculationState::L_b},
    {"f_h1", &CalculationState::f_h1},
    {"f_h2", &CalculationState::f_h2},
    {"L_o", &CalculationState::L_o},
    {"f_osz1", &CalculationState::f_osz1},
    {"f_osz2", &CalculationState::f_osz2},
    {"C_hp1", &CalculationState::C_hp1},
    {"C_hp2", &CalculationState::C_hp2},
    {"C_osz", &CalculationState::C_osz},
}};

// A double added to the state without a row here changes its size: the
// listed doubles, the tables, and sweep_i padded to a double's alignment.
static_assert(sizeof(CalculationState)
                  == kStateMembers.size() * sizeof(double) + 3 * sizeof(SweepTable)
                         + alignof(double),
              "kStateMembers lists every double of CalculationState");

} // namespace kalibrix::test
