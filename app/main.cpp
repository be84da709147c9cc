#include "Form1.h"
#include "Translation.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    InstallHungarianTranslation(app);
    Form1 window;
    window.show();
    return app.exec();
}
