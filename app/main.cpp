#include "Form1.h"
#include "Translation.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // Ties the window to its menu entry where the window system asks for
    // the desktop file (Wayland); X11 matches the entry's StartupWMClass.
    QGuiApplication::setDesktopFileName(QStringLiteral(KALIBRIX_APP_ID));
    kalibrix::InstallHungarianTranslation(app);
    kalibrix::Form1 window;
    window.show();
    return app.exec();
}
