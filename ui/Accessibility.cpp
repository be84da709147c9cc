#include "Accessibility.h"

#include "NumberText.h"
#include "TrackingCalculator.h"

#include <QAccessibleWidget>
#include <QStringList>
#include <QWidget>

#include <algorithm>
#include <cstddef>

namespace kalibrix {

QString FieldName(const QString& frameCaption, const QString& labelCaption,
                  const QString& qualifier, bool isResult)
{
    QString name = labelCaption.trimmed();
    if (isResult)
        name = frameCaption + QStringLiteral(": ") + name;
    if (!qualifier.isEmpty())
        name += QStringLiteral(" – ") + qualifier;
    return name;
}

QString DiagramName()
{
    return QStringLiteral("Kapcsolási rajz");
}

QString DiagramDescription()
{
    return QStringLiteral(
        "Két párhuzamos rezgőkör: a bemenő kör a Ch hangoló kondenzátorral, a Cp_b "
        "trimmerrel és az Lb tekerccsel, az oszcillátor kör a Ch hangoló "
        "kondenzátorral, a Cp_o trimmerrel és az Lo tekerccsel. A két hangoló "
        "kondenzátor közös tengelyen forog.");
}

namespace {

// The classes read as charts; ReadAsChart adds to them through the
// reference, which cppcheck does not follow.
QStringList& ChartClasses()
{
    // cppcheck-suppress unassignedVariable
    static QStringList classes;
    return classes;
}

QAccessibleInterface* ChartAccessibility(const QString& className, QObject* object)
{
    if (!ChartClasses().contains(className))
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Chart);
}

} // namespace

void ReadAsChart(const QMetaObject& widgetClass)
{
    const QString name = QLatin1String(widgetClass.className());
    if (ChartClasses().contains(name))
        return;
    if (ChartClasses().isEmpty())
        QAccessible::installFactory(ChartAccessibility);
    ChartClasses() << name;
}

QString GraphName()
{
    return QStringLiteral("A bemenőkör elhangolódása");
}

QString GraphDescription(const TrackingCalculator& calc)
{
    const CalculationState& s = calc.state;
    if (s.L_b == 0.0)
        return QStringLiteral("Grafikon: a bemenő kör eltérése, (fosz - fkf) - fbe, a sávban. "
                              "A Számol gomb után jelenik meg.");

    const auto text = [](const std::string& t) { return QString::fromStdString(t); };
    // The extremes lie at the first step of the sweep that shows them.
    const auto stepOf = [&s](double deviation) {
        return static_cast<std::size_t>(std::ranges::find(s.elt_curve, deviation)
                                        - s.elt_curve.begin());
    };
    const auto extreme = [&](double deviation) {
        const std::size_t step = std::min(stepOf(deviation), s.fbe_curve.size() - 1);
        return QStringLiteral("%1 Hz, %2 MHz-nél")
            .arg(text(FormatGeneral(deviation, calc.decimalSeparator)),
                 text(calc.FormatMegahertz(s.fbe_curve[step])));
    };
    return QStringLiteral(
               "Grafikon: a bemenő kör eltérése, (fosz - fkf) - fbe, a %1–%2 MHz sávban, "
               "balra %1 MHz, jobbra %2 MHz. Legnagyobb eltérés: %3. Legkisebb eltérés: %4.")
        .arg(text(calc.FormatMegahertz(s.f_min)), text(calc.FormatMegahertz(s.f_max)),
             extreme(s.elt_sorted.back()), extreme(s.elt_sorted.front()));
}

} // namespace kalibrix
