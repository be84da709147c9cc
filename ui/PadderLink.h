#pragma once

#include <QString>

namespace kalibrix {

struct CalculationState;
struct DesignFigures;

// The link in the help's notes that opens the padder window.
inline const QString kPadderLink = QStringLiteral("kalibrix:padder");

// The notes' line with that link, for a design whose verdict sends the
// builder to a padder; empty for any other design.
QString PadderLinkHtml(const DesignFigures& figures, const CalculationState& s);

} // namespace kalibrix
