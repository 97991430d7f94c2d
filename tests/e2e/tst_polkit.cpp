// Setting the computer's clock as an ordinary user, against the real thing:
// a system bus, polkitd, pkexec, the installed program and its policy, and
// the polkit rule the help gives an administrator. The NTP client is a
// stand-in that writes down who ran it with what; nothing sets the clock.
#include "xsession.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <csignal>
#include <functional>
#include <vector>

namespace {

constexpr char kPolkitd[] = "/usr/lib/polkit-1/polkitd";
constexpr char kSystemBusSocket[] = "/run/dbus/system_bus_socket";
constexpr char kGroup[] = "lumitakt"; // the group the help's rule names
constexpr char kMember[] = "lumitakt-e2e-in";
constexpr char kOutsider[] = "lumitakt-e2e-out";
constexpr char kServer[] = "ntp.example.org";

using Result = ToolResult;

// The system's tools run on the real system bus, installing to the real system.
Result runTool(const QString &program, const QStringList &arguments, int timeoutMs = 20000)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"));
    env.remove(QStringLiteral("DESTDIR"));
    return ::runTool(program, arguments, env, timeoutMs);
}

QStringList polkitToolsMissing()
{
    QStringList missing;
    for (const char *tool : {"pkexec", "pkcheck", "pkaction", "dbus-daemon", "dbus-send", "useradd", "userdel", "groupadd", "groupdel"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            missing.append(QString::fromLatin1(tool));
    if (!QFile::exists(QString::fromLatin1(kPolkitd)))
        missing.append(QString::fromLatin1(kPolkitd));
    return missing;
}

bool busAnswers()
{
    return runTool(QStringLiteral("dbus-send"), {QStringLiteral("--system"), QStringLiteral("--print-reply"),
                                                 QStringLiteral("--dest=org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                                 QStringLiteral("org.freedesktop.DBus.GetId")},
                   5000)
               .exitCode
           == 0;
}

bool polkitOnBus()
{
    return runTool(QStringLiteral("dbus-send"),
                   {QStringLiteral("--system"), QStringLiteral("--print-reply"), QStringLiteral("--dest=org.freedesktop.DBus"),
                    QStringLiteral("/org/freedesktop/DBus"), QStringLiteral("org.freedesktop.DBus.NameHasOwner"),
                    QStringLiteral("string:org.freedesktop.PolicyKit1")},
                   5000)
        .output.contains(QStringLiteral("boolean true"));
}

// A file put in place for the test; one that stood there before comes back.
class PlacedFile {
public:
    explicit PlacedFile(QString path) : m_path(std::move(path)), m_backup(m_path + QStringLiteral(".lumitakt-e2e"))
    {
        if (QFile::exists(m_backup))
            QFile::remove(m_path); // left by a run that died: the backup is the original
        else if (QFile::exists(m_path))
            QFile::rename(m_path, m_backup);
    }
    ~PlacedFile()
    {
        QFile::remove(m_path);
        if (QFile::exists(m_backup))
            QFile::rename(m_backup, m_path);
    }
    PlacedFile(const PlacedFile &) = delete;
    PlacedFile &operator=(const PlacedFile &) = delete;
    const QString &path() const { return m_path; }

private:
    QString m_path;
    QString m_backup;
};

} // namespace

class TstPolkit : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void memberSetsTheClockAtTheMarkAndFromTheMenu();
    void outsiderStartsNothing();

private:
    QProcess *startClockAs(const char *user, const char *fakeStart);
    void addUser(const char *name, bool member);
    QStringList recorded() const;
    static void endClock(QProcess *clock);

    XSession m_x;
    QTemporaryDir m_root;
    QString m_program;
    QString m_record;
    std::unique_ptr<QProcess> m_bus;
    std::unique_ptr<QProcess> m_polkitd;
    std::vector<std::unique_ptr<PlacedFile>> m_placed;
    QStringList m_users;
    bool m_groupAdded = false;
};

void TstPolkit::initTestCase()
{
    REQUIRE_TOOLS(XSession::missingTools() + polkitToolsMissing());
    if (::geteuid() != 0) {
        if (qEnvironmentVariableIsSet("CI"))
            QFAIL("this test adds users, a polkit rule and an action: it must run as root");
        QSKIP("this test adds users, a polkit rule and an action: run it as root");
    }
    QVERIFY(m_root.isValid());
    QVERIFY(QFile::setPermissions(m_root.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                                     | QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther
                                                     | QFileDevice::ExeOther));

    // The users: one in the group the rule names, one not.
    if (runTool(QStringLiteral("getent"), {QStringLiteral("group"), QString::fromLatin1(kGroup)}).exitCode != 0) {
        const Result added = runTool(QStringLiteral("groupadd"), {QStringLiteral("--system"), QString::fromLatin1(kGroup)});
        QVERIFY2(added.exitCode == 0, qPrintable(added.output));
        m_groupAdded = true;
    }
    addUser(kMember, true);
    addUser(kOutsider, false);

    // The rule exactly as the help shows it, in the file it names.
    QFile help(QStringLiteral(LUMITAKT_HELP_FILE));
    QVERIFY(help.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(help.readAll());
    const QRegularExpressionMatch file = QRegularExpression(QStringLiteral("(/etc/polkit-1/rules\\.d/[\\w.-]+\\.rules)")).match(html);
    const QRegularExpressionMatch rule =
        QRegularExpression(QStringLiteral("<pre>(polkit\\.addRule.*?)</pre>"), QRegularExpression::DotMatchesEverythingOption).match(html);
    QVERIFY2(file.hasMatch() && rule.hasMatch(), "the help shows no polkit rule");
    QString text = rule.captured(1);
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<")).replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    text.replace(QStringLiteral("&quot;"), QStringLiteral("\"")).replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    m_placed.push_back(std::make_unique<PlacedFile>(file.captured(1)));
    QFile ruleFile(m_placed.back()->path());
    QVERIFY(ruleFile.open(QIODevice::WriteOnly));
    ruleFile.write(text.toUtf8() + '\n');
    ruleFile.close();

    // The program installed as the README says, to a prefix of its own; its
    // action goes where polkitd reads it. The helper is the real one, built
    // to start the stand-in client.
    const QString prefix = m_root.filePath(QStringLiteral("usr"));
    m_placed.push_back(std::make_unique<PlacedFile>(QStringLiteral(LUMITAKT_POLKIT_ACTIONS_DIR "/org.lumitakt.Lumitakt.sync.policy")));
    const Result installed = runTool(QStringLiteral("cmake"), {QStringLiteral("--install"), QStringLiteral(LUMITAKT_BUILD_DIR),
                                                               QStringLiteral("--prefix"), prefix});
    QVERIFY2(installed.exitCode == 0, qPrintable(installed.output));
    QVERIFY2(QFile::exists(m_placed.back()->path()), qPrintable(installed.output));
    m_program = prefix + QStringLiteral("/bin/lumitakt");
    const QString helper = prefix + QStringLiteral("/" LUMITAKT_HELPER_DIR "/lumitakt-sync");
    QVERIFY(QFile::remove(helper));
    QVERIFY(QFile::copy(QStringLiteral(LUMITAKT_SYNC_STANDIN), helper));
    m_record = m_root.filePath(QStringLiteral("ntp-client.txt"));
    m_placed.push_back(std::make_unique<PlacedFile>(QStringLiteral(LUMITAKT_STANDIN_CLIENT)));
    QFile client(QStringLiteral(LUMITAKT_STANDIN_CLIENT));
    QVERIFY(client.open(QIODevice::WriteOnly));
    client.write("#!/bin/sh\necho \"uid $(id -u): $*\" >> '" + m_record.toUtf8() + "'\n");
    client.close();
    QVERIFY(client.setPermissions(client.permissions() | QFileDevice::ExeOwner));

    // The system bus and polkitd: the machine's own where they run, ours
    // otherwise. pkexec, being setuid, only ever talks to the system bus at
    // its standard address.
    if (!busAnswers()) {
        QFile::remove(QString::fromLatin1(kSystemBusSocket)); // left by a bus that died
        QDir().mkpath(QStringLiteral("/run/dbus"));
        m_bus = std::make_unique<QProcess>();
        m_bus->setProcessChannelMode(QProcess::MergedChannels);
        m_bus->start(QStringLiteral("dbus-daemon"), {QStringLiteral("--system"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile")});
        QVERIFY2(waitFor(15000, busAnswers),
                 qPrintable(QStringLiteral("the system bus could not be started: ") + QString::fromLocal8Bit(m_bus->readAll())));
    }
    if (!polkitOnBus()) {
        m_polkitd = std::make_unique<QProcess>();
        m_polkitd->setProcessChannelMode(QProcess::MergedChannels);
        m_polkitd->start(QString::fromLatin1(kPolkitd), {QStringLiteral("--no-debug")});
        QVERIFY2(waitFor(15000, polkitOnBus),
                 qPrintable(QStringLiteral("polkitd could not be started: ") + QString::fromLocal8Bit(m_polkitd->readAll())));
    }
    // polkitd knows the action by the helper's installed path.
    QVERIFY2(waitFor(15000,
                     [&] {
                         return runTool(QStringLiteral("pkaction"), {QStringLiteral("--verbose"), QStringLiteral("--action-id"),
                                                                     QStringLiteral("org.lumitakt.Lumitakt.sync")})
                             .output.contains(QStringLiteral("exec.path -> ") + helper);
                     }),
             "polkitd does not know the action with the installed helper");

    QString error;
    QVERIFY2(m_x.start(&error), qPrintable(error));
}

void TstPolkit::cleanupTestCase()
{
    m_x.stop();
    for (const QString &user : std::as_const(m_users))
        runTool(QStringLiteral("userdel"), {user});
    if (m_groupAdded)
        runTool(QStringLiteral("groupdel"), {QString::fromLatin1(kGroup)});
    m_placed.clear();
    for (auto *daemon : {m_polkitd.get(), m_bus.get()}) {
        if (!daemon)
            continue;
        daemon->terminate();
        if (!daemon->waitForFinished(5000)) {
            daemon->kill();
            daemon->waitForFinished(3000);
        }
    }
    if (m_bus)
        QFile::remove(QString::fromLatin1(kSystemBusSocket));
}

void TstPolkit::addUser(const char *name, bool member)
{
    runTool(QStringLiteral("userdel"), {QString::fromLatin1(name)}); // left by a run that died
    const QString home = m_root.filePath(QString::fromLatin1(name));
    QStringList arguments{QStringLiteral("--create-home"), QStringLiteral("--home-dir"), home, QStringLiteral("--shell"),
                          QStringLiteral("/usr/sbin/nologin")};
    if (member)
        arguments << QStringLiteral("--groups") << QString::fromLatin1(kGroup);
    const Result added = runTool(QStringLiteral("useradd"), arguments << QString::fromLatin1(name));
    QVERIFY2(added.exitCode == 0, qPrintable(added.output));
    m_users.append(QString::fromLatin1(name));

    // The server to set the clock from, in the user's own settings file.
    QVERIFY(QDir(home).mkpath(QStringLiteral(".config/Lumitakt")));
    QFile ini(home + QStringLiteral("/.config/Lumitakt/Lumitakt.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("rot\r\n 0 \r\n 0 \r\n\"" + QByteArray(kServer) + "\"\r\n 1 \r\n");
    ini.close();
    const Result owned = runTool(QStringLiteral("chown"), {QStringLiteral("-R"), QString::fromLatin1(name) + QStringLiteral(":"), home});
    QVERIFY2(owned.exitCode == 0, qPrintable(owned.output));
}

QProcess *TstPolkit::startClockAs(const char *user, const char *fakeStart)
{
    // The installed program, run by the user directly: its children are
    // what pkexec sees as its parent, as in a desktop session.
    const passwd *account = ::getpwnam(user);
    if (!account)
        return nullptr;
    const uid_t uid = account->pw_uid;
    const gid_t gid = account->pw_gid;
    std::vector<gid_t> groups(64);
    int count = static_cast<int>(groups.size());
    if (::getgrouplist(user, gid, groups.data(), &count) < 0)
        return nullptr;
    groups.resize(static_cast<std::size_t>(count));

    QProcessEnvironment env = m_x.environment();
    for (const char *name : {"DBUS_SYSTEM_BUS_ADDRESS", "DBUS_SESSION_BUS_ADDRESS", "XDG_RUNTIME_DIR", "XAUTHORITY"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("HOME"), QString::fromLocal8Bit(account->pw_dir));
    env.insert(QStringLiteral("USER"), QString::fromLatin1(user));
    env.insert(QStringLiteral("LD_PRELOAD"), XSession::fakeTimeLibrary());
    env.insert(QStringLiteral("FAKETIME"), QString::fromLatin1(fakeStart));
    env.insert(QStringLiteral("FAKETIME_DONT_FAKE_MONOTONIC"), QStringLiteral("1"));

    auto *clock = new QProcess(this);
    clock->setProcessEnvironment(env);
    clock->setWorkingDirectory(QString::fromLocal8Bit(account->pw_dir));
    clock->setProcessChannelMode(QProcess::MergedChannels);
    clock->setChildProcessModifier([uid, gid, groups] {
        if (::setgroups(groups.size(), groups.data()) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0)
            ::_exit(126);
    });
    clock->start(m_program, {});
    return clock;
}

QStringList TstPolkit::recorded() const
{
    QFile file(m_record);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

void TstPolkit::endClock(QProcess *clock)
{
    clock->terminate();
    QVERIFY(clock->waitForFinished(5000));
    QCOMPARE(clock->exitCode(), 0);
}

void TstPolkit::memberSetsTheClockAtTheMarkAndFromTheMenu()
{
    QFile::remove(m_record);
    QProcess *clock = startClockAs(kMember, "@2026-12-06 12:29:56");
    QVERIFY(clock && clock->waitForStarted(5000));
    const qulonglong window = m_x.waitForManagedWindow(clock->processId(), {QStringLiteral("--classname"), QStringLiteral("^lumitakt$")});
    QVERIFY2(window, "the clock shows no window");

    // 12:30:00: pkcheck allows it without a question, pkexec starts the
    // helper as root, and the helper the client, once.
    const QString once = QStringLiteral("uid 0: ") + QString::fromLatin1(kServer);
    QVERIFY2(waitFor(15000, [&] { return !recorded().isEmpty(); }),
             qPrintable(QStringLiteral("the clock was not set at the mark; the clock said: ") + QString::fromLocal8Bit(clock->readAll())));
    QThread::msleep(2000);
    QCOMPARE(recorded(), QStringList{once});

    // The menu command, once more.
    QVERIFY2(m_x.menu(window, QStringLiteral("y")), "the menu did not open");
    QVERIFY2(waitFor(15000, [&] { return recorded().size() == 2; }), "the menu command did not set the clock");
    QCOMPARE(recorded(), (QStringList{once, once}));

    // Every program it started has been collected, and pkexec had nothing to refuse.
    QVERIFY(waitFor(5000, [&] { return zombiesOf(clock->processId()) == 0; }));
    endClock(clock);
    const QString said = QString::fromLocal8Bit(clock->readAll());
    QVERIFY2(!said.contains(QStringLiteral("dead parents")) && !said.contains(QStringLiteral("Not authorized")), qPrintable(said));
}

void TstPolkit::outsiderStartsNothing()
{
    // Not in the group, the user would have to give a password: the tick
    // asks no question and starts nothing; pkexec never runs.
    QFile::remove(m_record);
    QProcess *clock = startClockAs(kOutsider, "@2026-12-06 12:39:57");
    QVERIFY(clock && clock->waitForStarted(5000));
    QVERIFY2(waitFor(10000, [&] { return !m_x.windowsOf(clock->processId()).isEmpty(); }), "the clock shows no window");
    QThread::msleep(6000); // past 12:40:00
    QCOMPARE(recorded(), QStringList());
    QCOMPARE(zombiesOf(clock->processId()), 0);
    endClock(clock);
    const QString said = QString::fromLocal8Bit(clock->readAll());
    QVERIFY2(!said.contains(QStringLiteral("Not authorized")) && !said.contains(QStringLiteral("pkexec")), qPrintable(said));
}

QTEST_GUILESS_MAIN(TstPolkit)
#include "tst_polkit.moc"
