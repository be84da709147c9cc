// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpText.h"

#include "Accessibility.h"
#include "Form1Fields.h"
#include "Form1Layout.h"
#include "Guide.h"

#include <QStringList>

#include <algorithm>

namespace kalibrix {
namespace {

QString Caption(form1::ControlId id)
{
    return QString::fromUtf8(form1::Spec(id).caption);
}

// The controls that take the focus, in tab order, each by the name a screen
// reader gives it.
QString TabOrderText()
{
    QStringList names;
    for (const form1::ControlSpec* spec : form1::TabChain()) {
        QString name = Caption(spec->id);
        const auto* labelled =
            std::ranges::find(form1::kLabelledFields, spec->id, &form1::LabelledField::field);
        if (labelled != form1::kLabelledFields.end()) {
            const auto frame = std::ranges::find_if(form1::kContainers, [&](const auto& c) {
                return std::ranges::find(c.controls, spec->id, &form1::ControlSpec::id)
                       != c.controls.end();
            });
            name = FieldName(Caption(frame->container), Caption(labelled->label),
                             QString::fromUtf8(labelled->qualifier),
                             spec->kind == form1::ControlKind::ReadOnlyField);
        } else if (spec->kind == form1::ControlKind::Picture) {
            name = DiagramName();
        } else if (spec->kind == form1::ControlKind::Graph) {
            name = GraphName();
        }
        names << QStringLiteral("„%1”").arg(name.toHtmlEscaped());
    }
    return names.join(QStringLiteral(", "));
}

} // namespace

QString DesignNotesHtml(const TrackingCalculator& calc, LastRun lastRun)
{
    return NotesHtml(calc, lastRun, Caption(form1::ControlId::start));
}

QString GuideHtml(const QString& resultsFolder)
{
    GuideWindow window;
    window.places[QStringLiteral("results_folder")] = resultsFolder.toHtmlEscaped();
    window.places[QStringLiteral("tab_order")] = TabOrderText();
    for (const form1::ContainerSpec& container : form1::kContainers)
        for (const form1::ControlSpec& spec : container.controls)
            window.places[QStringLiteral("caption.") + QString::fromUtf8(spec.name)] =
                QString::fromUtf8(spec.caption).trimmed().toHtmlEscaped();
    for (const OutputField field : kOutputFieldsInStepOrder)
        window.resultNames[static_cast<std::size_t>(field)] =
            QString::fromUtf8(form1::Spec(form1::ResultControl(field)).name);
    return FillGuide(window);
}

} // namespace kalibrix
