// SPDX-License-Identifier: GPL-3.0-or-later
#include "Saving.h"

#include "MessageBox.h"
#include "ResultsFile.h"

#include <QCoreApplication>
#include <QLineEdit>

namespace kalibrix {

void SaveUnderName(QLineEdit& name, const std::function<QStringList()>& lines)
{
    if (name.text().isEmpty()) {
        ShowErrorMessage(name.window(),
                         QStringLiteral("Célszerűnek látszik a mentésnek nevet adni"));
        name.setFocus();
        return;
    }
    try {
        SaveTextFile(QCoreApplication::applicationDirPath(), name.text(), lines());
    } catch (const ResultsFileError& error) {
        ShowErrorMessage(name.window(), error.userMessage());
    }
}

} // namespace kalibrix
