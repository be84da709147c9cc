// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace kalibrix {

class TrackingCalculator;

// The number phrases of the program's own texts (the help, the padder window
// and its file), each written one way everywhere: integer digits grouped as
// the default locale groups them (Hungarian: a no-break space, "15 000"; the
// C locale does not group), and "−" (U+2212) as the minus sign. The decimal
// separator is the calculation's.

QString Text(const std::string& text);

// A number as the calculation formatted it (FormatFixed, FormatGeneral),
// grouped and with the minus sign.
QString NumberPhrase(std::string_view number, const std::string& separator);

// x in the general number form, as a phrase.
QString GeneralNumber(double x, const std::string& separator);

// A usable Q as stated (already rounded down): "85", "15 000"; none, a
// circuit the mistuning does not limit, is "korlátlan".
QString StatedQText(const std::optional<double>& statedQ, const std::string& separator);

// "50–150".
QString RangeText(double low, double high, const std::string& separator);

// A ratio in per cent to three significant digits, without the sign: 0.143
// is "14,3", 0.000894 is "0,0894", so that small deviations keep their digits.
QString PercentText(double ratio, const std::string& separator);

// A frequency (Hz) in MHz as the main window writes it, with the unit:
// "0,520 MHz".
QString MegahertzText(double f, const TrackingCalculator& calc);

// The calculation's band, fmin–fmax: "0,520–1,620 MHz".
QString BandText(const TrackingCalculator& calc);

// A capacitance (F) in pF as the main window rounds and writes it:
// "−11,74".
QString PicofaradText(double capacitance, const TrackingCalculator& calc);

} // namespace kalibrix
