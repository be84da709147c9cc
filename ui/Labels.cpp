// SPDX-License-Identifier: GPL-3.0-or-later
#include "Labels.h"

#include <QColor>
#include <QLabel>

namespace kalibrix {

QLabel* WrappedLabel(QWidget* parent, const QString& objectName)
{
    auto* label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QString Swatch(const QColor& colour)
{
    return QStringLiteral("<span style=\"color:%1\">■</span>").arg(colour.name());
}

} // namespace kalibrix
