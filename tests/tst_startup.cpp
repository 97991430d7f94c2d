#include "platform/singleclock.h"
#include "platform/startup.h"
#include "platform/system.h"
#include "support/testsystem.h"

#include <QDir>
#include <QElapsedTimer>
#include <QScopeGuard>
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
    void oneClock_data();
    void oneClock();
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
    // Another user's folder (root running a copy from /tmp): the marker, the
    // sound, the help and the helper beside the program count for nothing;
    // the installed package's are taken.
    QTest::newRow("portable folder of another user")
        << QStringList{QStringLiteral("Lumitakt.portable"), QStringLiteral("Lumitakt.ini"), QStringLiteral("lumitakt-sync")}
        << QStringLiteral("/home/u/.config/Lumitakt")
        << QStringList{QStringLiteral("/installed/share/lumitakt"), QStringLiteral("/installed/libexec/lumitakt"),
                       QStringLiteral("/home/u/.config/Lumitakt/Lumitakt.ini")}
        << true;
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
    const ProgramFiles files = ProgramFiles::find(root.filePath(QStringLiteral("bin")), config,
                                                  {QStringLiteral("/installed/share/lumitakt"), QStringLiteral("/installed/libexec/lumitakt"), {}});
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

void TstStartup::oneClock_data()
{
    // What lies in the settings folder where the lock and the request go;
    // whether a clock already holds the lock (in this test it never answers);
    // what the start then does, and what its reason for not writing names.
    QTest::addColumn<QString>("what");
    QTest::addColumn<bool>("held");
    QTest::addColumn<int>("claim");
    QTest::addColumn<QString>("refusal");
    const int unreachable = int(SingleClock::Claim::Unreachable);
    QTest::newRow("a pipe as the lock") << QStringLiteral("pipe .lock") << false << unreachable << QStringLiteral("named pipe");
    QTest::newRow("a folder as the lock") << QStringLiteral("folder .lock") << false << unreachable << QStringLiteral("a folder");
    QTest::newRow("a link as the request") << QStringLiteral("link .show") << true << unreachable << QStringLiteral("does not answer");
    QTest::newRow("a pipe as the request") << QStringLiteral("pipe .show") << true << unreachable << QStringLiteral("does not answer");
    // A lock that cannot be written whole (a full disk) still keeps a second
    // clock from writing.
    QTest::newRow("no room for the lock") << QStringLiteral("full disk") << true << unreachable << QStringLiteral("does not answer");
}

void TstStartup::oneClock()
{
    QFETCH(QString, what);
    QFETCH(bool, held);
    QFETCH(int, claim);
    QFETCH(QString, refusal);
    QTemporaryDir folder;
    const QString settings = folder.filePath(QStringLiteral("Lumitakt.ini"));
    const QString kind = what.section(u' ', 0, 0);
    const QString name = singleClockFiles(settings) + what.section(u' ', 1);
    // On Windows it lies outside the test's folder.
    const auto removePlanted = qScopeGuard([&] { QDir().rmdir(name); });
    // A file of the user's that a link leads to must come out whole.
    const QString victim = folder.filePath(QStringLiteral("important.txt"));
    QFile important(victim);
    QVERIFY(important.open(QIODevice::WriteOnly) && important.write("keep me") == 7);
    important.close();
    // Planted once the running clock has started (stopped with Ctrl+Z, or on
    // another computer sharing the folder), where one runs.
    const auto plant = [&] {
        if (kind == u"pipe")
            return test::makeNamedPipe(name);
        if (kind == u"link")
            return test::makeSymbolicLink(victim, name);
        return kind != u"folder" || QDir().mkdir(name);
    };
    if (!held && !plant())
        QSKIP("no named pipes or links here");

    SingleClock running(settings);
    SingleClock second(settings);
    QElapsedTimer took;
    bool planted = !held;
    const auto start = [&] {
        if (held && running.claim() != SingleClock::Claim::Alone)
            return false;
        planted = planted || plant();
        took.start();
        return second.claim() == SingleClock::Claim(claim);
    };
    if (what == u"full disk") {
        const std::optional<bool> claimed = test::writeOnFullDisk(start);
        if (!claimed)
            QSKIP("a full disk cannot be staged here");
        QVERIFY(*claimed);
    } else {
        const bool claimed = start();
        if (!planted)
            QSKIP("no named pipes or links here");
        QVERIFY(claimed);
    }
    // Never waited for: at most the time given a running clock to answer.
    QVERIFY2(took.elapsed() < 10000, qPrintable(QString::number(took.elapsed())));
    QVERIFY2(second.writeRefusal().contains(refusal), qPrintable(second.writeRefusal()));
    QVERIFY(important.open(QIODevice::ReadOnly));
    QCOMPARE(important.readAll(), QByteArray("keep me"));
}

QTEST_GUILESS_MAIN(TstStartup)
#include "tst_startup.moc"
