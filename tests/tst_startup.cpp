#include "platform/startup.h"
#include "support/testsystem.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace lumitakt;

class TstStartup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void platform_data();
    void platform();
    void settingsLocation_data();
    void settingsLocation();
    void configFolder_data();
    void configFolder();
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
    // What lies in the program's folder (relative to a root), and where the
    // program then finds its data and helper and keeps its settings.
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QString>("config");
    QTest::addColumn<QStringList>("expected"); // data folder, helper folder, settings file
    QTest::addColumn<bool>("othersFolder");       // the program's folder belongs to another user
    QTest::newRow("build folder or unpacked archive")
        << QStringList{QStringLiteral("Lumitakt.portable"), QStringLiteral("Termin.wav"), QStringLiteral("lumitakt-sync")}
        << QStringLiteral("/home/u/.config/Lumitakt") << QStringList{QStringLiteral("bin"), QStringLiteral("bin"), QStringLiteral("bin/Lumitakt.ini")} << false;
    // The settings beside the program stay there, whatever else is missing.
    QTest::newRow("portable folder without its sound")
        << QStringList{QStringLiteral("Lumitakt.ini")} << QStringLiteral("/home/u/.config/Lumitakt")
        << QStringList{QStringLiteral("bin"), QStringLiteral("bin"), QStringLiteral("bin/Lumitakt.ini")} << false;
    QTest::newRow("a sound alone makes no portable folder")
        << QStringList{QStringLiteral("Termin.wav")} << QStringLiteral("/home/u/.config/Lumitakt")
        << QStringList{QStringLiteral("share/lumitakt"), QStringLiteral("libexec/lumitakt"),
                       QStringLiteral("/home/u/.config/Lumitakt/Lumitakt.ini")} << false;
    QTest::newRow("installed, whatever the prefix")
        << QStringList() << QStringLiteral("/home/u/.config/Lumitakt")
        << QStringList{QStringLiteral("share/lumitakt"), QStringLiteral("libexec/lumitakt"),
                       QStringLiteral("/home/u/.config/Lumitakt/Lumitakt.ini")} << false;
    QTest::newRow("installed, helper kept beside the program")
        << QStringList{QStringLiteral("lumitakt-sync")} << QStringLiteral("/root/.config/Lumitakt")
        << QStringList{QStringLiteral("share/lumitakt"), QStringLiteral("bin"), QStringLiteral("/root/.config/Lumitakt/Lumitakt.ini")} << false;
    // Never the program's own folder: the settings stay in memory.
    QTest::newRow("installed, no folder for the settings")
        << QStringList() << QString() << QStringList{QStringLiteral("share/lumitakt"), QStringLiteral("libexec/lumitakt"), QString()} << false;
    // A portable folder the user cannot write would lose every choice.
    QTest::newRow("portable folder the user cannot write")
        << QStringList{QStringLiteral("Lumitakt.portable"), QStringLiteral("Lumitakt.ini")} << QStringLiteral("/home/u/.config/Lumitakt")
        << QStringList{QStringLiteral("bin"), QStringLiteral("bin"), QStringLiteral("/home/u/.config/Lumitakt/Lumitakt.ini")} << true;
}

void TstStartup::settingsLocation()
{
    QFETCH(QStringList, present);
    QFETCH(QString, config);
    QFETCH(QStringList, expected);
    QFETCH(bool, othersFolder);
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath(QStringLiteral("bin")));
    for (const QString &name : present) {
        QFile file(root.filePath(QStringLiteral("bin/") + name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    if (othersFolder && !test::giveToAnotherUser(root.filePath(QStringLiteral("bin"))))
        QSKIP("only root on Linux can give a folder to another user");
    const ProgramFiles files = ProgramFiles::find(root.filePath(QStringLiteral("bin")), config);
    const auto inRoot = [&](const QString &path) { return path.isEmpty() || path.startsWith(u'/') ? path : root.filePath(path); };
    QCOMPARE(files.dataFolder, inRoot(expected[0]));
    QCOMPARE(files.helperFolder, inRoot(expected[1]));
    QCOMPARE(files.settingsFile, inRoot(expected[2]));
}

void TstStartup::configFolder_data()
{
    QTest::addColumn<QByteArray>("xdgConfigHome");
    QTest::addColumn<QByteArray>("home");
    QTest::addColumn<QString>("expected");
    QTest::newRow("home") << QByteArray() << QByteArray("/home/u") << QStringLiteral("/home/u/.config/Lumitakt");
    QTest::newRow("XDG_CONFIG_HOME") << QByteArray("/srv/c/") << QByteArray("/home/u") << QStringLiteral("/srv/c/Lumitakt");
    QTest::newRow("relative XDG_CONFIG_HOME ignored") << QByteArray("c") << QByteArray("/home/u") << QStringLiteral("/home/u/.config/Lumitakt");
    QTest::newRow("HOME unset") << QByteArray() << QByteArray() << QString();
    QTest::newRow("relative HOME") << QByteArray(".") << QByteArray("u") << QString();
}

void TstStartup::configFolder()
{
    QFETCH(QByteArray, xdgConfigHome);
    QFETCH(QByteArray, home);
    QFETCH(QString, expected);
    QCOMPARE(userConfigFolder(xdgConfigHome, home), expected);
}

QTEST_APPLESS_MAIN(TstStartup)
#include "tst_startup.moc"
