#include "Help.h"

#include <QCoreApplication>
#include <QDir>
#include <QMessageBox>
#include <QPointer>

namespace kalibrix {

namespace {

QString HelpText()
{
    const QString folder = QDir::toNativeSeparators(
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("adatok")));
    return QStringLiteral(
               "<p>A Kalibrix egy középfrekvenciás vevő bemenő körét és oszcillátor körét "
               "méretezi kétpontos együttfutásra.</p>"
               "<p><b>Bemeneti adatok</b> (tizedesjelként pont vagy vessző is írható):</p>"
               "<ul>"
               "<li><b>C_h_min</b>, <b>C_h_max</b> (pF): a hangoló kondenzátor legkisebb és "
               "legnagyobb kapacitása.</li>"
               "<li><b>fmin</b>, <b>fmax</b> (MHz): a vételi sáv alsó és felső széle.</li>"
               "<li><b>középfrekvencia</b> (MHz): ennyivel fut az oszcillátor a bemenő kör "
               "fölött.</li>"
               "<li><b>C szórt kapacitás</b> (pF): a szerelés szórt kapacitása; üresen "
               "hagyva 0.</li>"
               "</ul>"
               "<p><b>Számol</b>: megtervezi mindkét kört. A bemenő kör Lb induktivitását "
               "(µH) és Cp_b trimmerét (pF), az oszcillátor kör Lo induktivitását (µH) és "
               "Cp_o trimmerét (pF) adja meg, továbbá a két együttfutási pontot, F1-et és "
               "F2-t (MHz), amelyek a sáv széleitől (fmax − fmin) / 6,85 távolságra vannak, "
               "és a hozzájuk tartozó Ch hangoló kapacitásokat (pF). A „Maximális "
               "eltérések” mezői a bemenő kör legnagyobb és legkisebb eltérését mutatják "
               "az ideálistól, Hz-ben: (fosz − fkf) − fbe.</p>"
               "<p><b>Grafikon</b>: ugyanez az eltérés a sáv 500 pontjában, balra fmin, "
               "jobbra fmax. Az egérmutató fölötte megmutatja a magasságához tartozó eltérést "
               "és a vízszintes helyzetéhez tartozó bemenő frekvenciát; kattintásra a "
               "grafikon újrarajzolódik.</p>"
               "<p><b>Ment</b> (az első sikeres számolás után jelenik meg): a bemeneti "
               "adatokat és az eredményeket a „Mentés neve” mezőbe írt néven, .txt "
               "kiterjesztéssel a(z) <b>%1</b> mappába írja.</p>"
               "<p><b>Kilép</b>: bezárja a programot.</p>")
        .arg(folder.toHtmlEscaped());
}

} // namespace

void ShowHelp(QWidget* parent)
{
    static QPointer<QMessageBox> open;
    if (!open) {
        open = new QMessageBox(QMessageBox::Information, QStringLiteral("Kalibrix – segítség"),
                               HelpText(), QMessageBox::Ok, parent);
        open->setTextFormat(Qt::RichText);
        open->setModal(false);
        open->setAttribute(Qt::WA_DeleteOnClose);
    }
    open->show();
    open->raise();
    open->activateWindow();
}

} // namespace kalibrix
