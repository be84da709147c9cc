// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QCoreApplication;

namespace kalibrix {

// Installs Qt's own Hungarian translation (context menus, message box
// buttons) whatever the system's language. Returns false when the
// translation file is missing; the texts then stay in English.
bool InstallHungarianTranslation(QCoreApplication& app);

} // namespace kalibrix
