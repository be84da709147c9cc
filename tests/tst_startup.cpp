// SPDX-License-Identifier: GPL-3.0-or-later
// What the window reads before it is first painted: its two pictures come
// from Qt's own PNG decoder, and no image-format plugin is loaded for a format
// the program has no picture in. Run in a process of its own, so that nothing
// another test did has loaded a plugin first.

#include "WindowTestSupport.h"

#include <QFile>
#include <QLabel>
#include <QPixmap>

using namespace kalibrix;
using namespace kalibrix::test;

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void pictures_data();
    void pictures();
    void pluginsNotLoaded_data();
    void pluginsNotLoaded();

private:
    std::unique_ptr<Form1> form_;
};

void TestStartup::initTestCase()
{
    QVERIFY(OpenWindow(form_));
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    QCoreApplication::processEvents();
}

void TestStartup::cleanupTestCase()
{
    CloseWindow(form_);
}

// clang-format off
void TestStartup::pictures_data()
{
    QTest::addColumn<QPixmap>("picture");
    QTest::addColumn<QSize>("size");
    QTest::newRow("window icon") << form_->windowIcon().pixmap(QSize(32, 32)) << QSize(32, 32);
    QTest::newRow("circuit diagram") << Control<QLabel>(*form_, "Picture1")->pixmap() << QSize(408, 130);
}
// clang-format on

void TestStartup::pictures()
{
    QFETCH(QPixmap, picture);
    QFETCH(QSize, size);
    QVERIFY(!picture.isNull());
    QCOMPARE(picture.size(), size);
}

// clang-format off
void TestStartup::pluginsNotLoaded_data()
{
    QTest::addColumn<QString>("plugin");
    // Asked to guess a PNG's format, Qt loads every image-format plugin to ask
    // each whether it reads it, the JPEG plugin with libjpeg.
    QTest::newRow("JPEG") << QStringLiteral("/imageformats/libqjpeg.so");
    QTest::newRow("GIF") << QStringLiteral("/imageformats/libqgif.so");
    QTest::newRow("ICO") << QStringLiteral("/imageformats/libqico.so");
    // At scale 1 the diagram is the shipped PNG; its SVG is drawn only for
    // other scales, and then by Qt SVG directly, never through the plugin.
    QTest::newRow("SVG") << QStringLiteral("/imageformats/libqsvg.so");
}
// clang-format on

void TestStartup::pluginsNotLoaded()
{
    QFETCH(QString, plugin);
    QFile maps(QStringLiteral("/proc/self/maps"));
    QVERIFY(maps.open(QIODevice::ReadOnly | QIODevice::Text));
    QVERIFY(!QString::fromLocal8Bit(maps.readAll()).contains(plugin));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
