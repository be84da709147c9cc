#include "PadderLink.h"

#include "DesignVerdict.h"

namespace kalibrix {

QString PadderLinkHtml(const DesignFigures& figures, const CalculationState& s)
{
    if (!PadderHelps(JudgeDesign(figures, s)))
        return {};
    return QStringLiteral("<li><a href=\"%1\">A padderes, hárompontos terv (F2)</a></li>")
        .arg(kPadderLink);
}

} // namespace kalibrix
