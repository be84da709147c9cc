// SPDX-License-Identifier: GPL-3.0-or-later
#include "Accessibility.h"

#include "Form1Layout.h"

#include <QAccessibleWidget>
#include <QStringList>
#include <QWidget>

namespace kalibrix {

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

QString GraphDescription(const TrackingCalculator& calc)
{
    return MainGraphDescription(calc,
                                QString::fromUtf8(form1::Spec(form1::ControlId::start).caption));
}

void ReadAsChart(const QMetaObject& widgetClass)
{
    const QString name = QLatin1String(widgetClass.className());
    if (ChartClasses().contains(name))
        return;
    if (ChartClasses().isEmpty())
        QAccessible::installFactory(ChartAccessibility);
    ChartClasses() << name;
}

} // namespace kalibrix
