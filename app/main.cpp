// SPDX-License-Identifier: GPL-3.0-or-later
#include "Form1.h"
#include "Translation.h"

#include <QApplication>

#include <clocale>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // QApplication has set every category of the C library's locale from the
    // environment: LC_TIME gives line 1 of the results file its formats and
    // LC_CTYPE its character set. Numbers in the C library's conversions keep
    // the point, whatever the user's decimal separator.
    std::setlocale(LC_NUMERIC, "C");
    // Ties the window to its menu entry where the window system asks for
    // the desktop file (Wayland); X11 matches the entry's StartupWMClass.
    QGuiApplication::setDesktopFileName(QStringLiteral(KALIBRIX_APP_ID));
    kalibrix::InstallHungarianTranslation(app);
    kalibrix::Form1 window;
    window.show();
    return app.exec();
}
