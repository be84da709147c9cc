#include "Accessibility.h"

#include "DesignFigures.h"
#include "Form1Layout.h"
#include "NumberText.h"
#include "TrackingCalculator.h"

#include <QAccessibleWidget>
#include <QStringList>
#include <QWidget>

#include <algorithm>
#include <cstddef>
#include <optional>

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
    const std::optional<DesignFigures> figures = FiguresOfDesign(s);
    if (s.L_b == 0.0 || !figures)
        return QStringLiteral("Grafikon: a bemenő kör eltérése, (fosz - fkf) - fbe, a sávban. "
                              "A %1 gomb után jelenik meg.")
            .arg(QString::fromUtf8(form1::Spec(form1::ControlId::start).caption));

    const auto text = [](const std::string& t) { return QString::fromStdString(t); };
    const auto extreme = [&](const SweepPoint& point) {
        return QStringLiteral("%1 Hz, %2 MHz-nél")
            .arg(text(FormatGeneral(point.deviation, calc.decimalSeparator)),
                 text(calc.FormatMegahertz(point.frequency)));
    };
    return QStringLiteral(
               "Grafikon: a bemenő kör eltérése, (fosz - fkf) - fbe, a %1–%2 MHz sávban, "
               "balra %1 MHz, jobbra %2 MHz. Legnagyobb eltérés: %3. Legkisebb eltérés: %4.")
        .arg(text(calc.FormatMegahertz(s.f_min)), text(calc.FormatMegahertz(s.f_max)),
             extreme(figures->highest), extreme(figures->lowest));
}

} // namespace kalibrix
