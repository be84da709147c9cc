// SPDX-License-Identifier: GPL-3.0-or-later
// The reference for the start-up measure (scripts/startup.sh): the least a
// Qt Widgets program does to put up a window like Kalibrix's, with the same
// title and the same client area at the same place, and nothing in it.

#include "Form1Layout.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Kalibrix "));
    window.setGeometry(kalibrix::form1::PixelRect(kalibrix::form1::kWindowPlace));
    window.show();
    return app.exec();
}
