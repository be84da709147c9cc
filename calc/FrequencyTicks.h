// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

namespace kalibrix {

// The labelled ticks of a frequency axis over f_min..f_max (Hz): the
// multiples that lie in the band of one round step (1, 2, 2.5 or 5 times a
// power of ten, in Hz), the smallest such step no shorter than the band's width
// divided by `most`, so that `most` + 1 ticks at the very most fit. Rising;
// empty for a band that is not a positive, finite interval.
std::vector<double> FrequencyTicks(double f_min, double f_max, int most);

} // namespace kalibrix
