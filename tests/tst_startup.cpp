#include "platform/startup.h"

#include <QTest>

using namespace lumitakt;

class TstStartup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void platform_data();
    void platform();
    void settingsLocation_data();
    void settingsLocation();
};

void TstStartup::platform_data()
{
    QTest::addColumn<QByteArray>("chosen");
    QTest::addColumn<QByteArray>("session");
    QTest::addColumn<QByteArray>("wayland");
    QTest::addColumn<QByteArray>("x11");
    QTest::addColumn<QByteArray>("preferred");
    QTest::newRow("X11 session") << QByteArray() << QByteArray("x11") << QByteArray() << QByteArray(":0") << QByteArray();
    QTest::newRow("Wayland with XWayland") << QByteArray() << QByteArray("wayland") << QByteArray("wayland-0") << QByteArray(":0")
                                           << QByteArray("xcb;wayland");
    QTest::newRow("Wayland display only") << QByteArray() << QByteArray() << QByteArray("wayland-0") << QByteArray(":1")
                                          << QByteArray("xcb;wayland");
    QTest::newRow("Wayland without XWayland") << QByteArray() << QByteArray("wayland") << QByteArray("wayland-0") << QByteArray()
                                              << QByteArray();
    QTest::newRow("the user's choice stays") << QByteArray("wayland") << QByteArray("wayland") << QByteArray("wayland-0")
                                             << QByteArray(":0") << QByteArray();
}

void TstStartup::platform()
{
    QFETCH(QByteArray, chosen);
    QFETCH(QByteArray, session);
    QFETCH(QByteArray, wayland);
    QFETCH(QByteArray, x11);
    QFETCH(QByteArray, preferred);
    QCOMPARE(preferredPlatform(chosen, session, wayland, x11), preferred);
}

void TstStartup::settingsLocation_data()
{
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QString>("config");
    QTest::addColumn<QString>("path");
    QTest::newRow("build folder or portable copy") << true << QStringLiteral("/home/u/.config/Lumitakt")
                                                   << QStringLiteral("/opt/lt/Lumitakt.ini");
    QTest::newRow("installed for the system") << false << QStringLiteral("/home/u/.config/Lumitakt")
                                              << QStringLiteral("/home/u/.config/Lumitakt/Lumitakt.ini");
    QTest::newRow("no configuration folder known") << false << QString() << QStringLiteral("/opt/lt/Lumitakt.ini");
}

void TstStartup::settingsLocation()
{
    QFETCH(bool, writable);
    QFETCH(QString, config);
    QFETCH(QString, path);
    QCOMPARE(settingsFilePath(QStringLiteral("/opt/lt"), writable, config), path);
}

QTEST_APPLESS_MAIN(TstStartup)
#include "tst_startup.moc"
