#include "platform/commandstarter.h"
#include "platform/timesetter.h"
#include "support/clockfixture.h"
#include "support/testsystem.h"
#include "widgets/timeserverdialog.h"

#include <QAction>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>


#include <memory>

using namespace lumitakt;

namespace {

struct Fixture : test::ClockFixture {
    explicit Fixture(QTime start, const QString &server = QString()) : ClockFixture(start, Shown)
    {
        controller->chooseTimeServer(server);
    }
    static TimeServerDialog *dialog() { return test::openWindow<TimeServerDialog>("Synchron"); }
    QLineEdit *text() const { return dialog()->findChild<QLineEdit *>(QStringLiteral("txtSynchron")); }
};

StartedCommand setClockCommand(const QString &helperFolder, const QString &server)
{
    const QStringList command = test::setClockCommand(helperFolder, server);
    return {command.first(), command.mid(1)};
}

} // namespace

class TstTimeSync : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { test::quietOffscreen(); }
    void planForAName_data();
    void planForAName();
    void whoSetsTheClock_data();
    void whoSetsTheClock();
    void untrustedHelperStartsNothing_data();
    void untrustedHelperStartsNothing();
    void menuCommandStartsOnce();
    void startedAsAdministratorForReal();
    void dialogElements();
    void dialogStoresOnOkOnly_data();
    void dialogStoresOnOkOnly();
    void longNameFromTheFileIsNotCut();
};

void TstTimeSync::planForAName_data()
{
    // The stored name, and the name the helper gets (empty: nothing starts).
    // The helper's own test goes through the rules for names one by one.
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("handed");
    for (const char16_t *name : {u"ZEIT01", u"ntp.example.org", u"pool.ntp.org.", u"192.0.2.7"})
        QTest::newRow(QString::fromUtf16(name).toUtf8().constData()) << QString::fromUtf16(name) << QString::fromUtf16(name);
    // Windows' net time takes a server only as a UNC path, where an IPv6
    // address cannot stand; the helper on Linux takes it.
    QTest::newRow("2001:db8::7") << QStringLiteral("2001:db8::7") << (test::noOwnHelper().isEmpty() ? QStringLiteral("2001:db8::7") : QString());
    QTest::newRow("blanks at either end") << QStringLiteral("  zeit01 ") << QStringLiteral("zeit01");
    for (const char16_t *name : {u"", u"   ", u"-q", u"zeit eins", u"x; rm -rf ~", u"$(reboot)", u"zeit\u00e4.de"})
        QTest::newRow(qPrintable(QStringLiteral("refused ") + QString::fromUtf16(name))) << QString::fromUtf16(name) << QString();
    QTest::newRow("refused NUL inside") << QString::fromUtf16(u"zeit\0-b", 7) << QString();
}

void TstTimeSync::planForAName()
{
    QFETCH(QString, stored);
    QFETCH(QString, handed);
    const std::optional<SyncPlan> plan = syncPlan(stored, SyncRequest::ByUser, true, QStringLiteral("/opt/lt"), 42);
    QCOMPARE(plan.has_value(), !handed.isEmpty());
    if (plan) {
        const StartedCommand command = setClockCommand(QStringLiteral("/opt/lt"), handed);
        QCOMPARE(*plan, (SyncPlan{std::nullopt, {command.program, command.arguments}}));
    }
}

void TstTimeSync::whoSetsTheClock_data()
{
    QTest::addColumn<bool>("asRoot");
    QTest::addColumn<bool>("byTick");
    QTest::addColumn<int>("pkcheckExit");
    QTest::addColumn<QStringList>("started");
    if (!test::noOwnHelper().isEmpty()) {
        // Windows: a clock that may set the time starts net.exe itself; one
        // that may not has the menu ask for an administrator's consent, and
        // the tick starts nothing.
        const QString net = QStringLiteral("NET time \\\\ZEIT01 /set /yes");
        QTest::newRow("may set the time, menu") << true << false << 0 << QStringList{net};
        QTest::newRow("may set the time, tick") << true << true << 0 << QStringList{net};
        QTest::newRow("user, menu") << false << false << 0 << QStringList{QStringLiteral("as administrator: ") + net};
        QTest::newRow("user, tick") << false << true << 0 << QStringList{};
        return;
    }
    // Root starts the helper itself; an ordinary user goes through pkexec,
    // and the tick asks pkcheck first, without a question to the user.
    const QString pkcheck = QStringLiteral("/usr/bin/pkcheck --action-id org.lumitakt.Lumitakt.sync --process ")
                            + QString::number(QCoreApplication::applicationPid());
    QTest::newRow("root, menu") << true << false << 0 << QStringList{QStringLiteral("HELPER ZEIT01")};
    QTest::newRow("root, tick") << true << true << 0 << QStringList{QStringLiteral("HELPER ZEIT01")};
    QTest::newRow("user, menu") << false << false << 0 << QStringList{QStringLiteral("/usr/bin/pkexec HELPER ZEIT01")};
    QTest::newRow("user, tick, allowed") << false << true << 0 << QStringList{pkcheck, QStringLiteral("/usr/bin/pkexec HELPER ZEIT01")};
    QTest::newRow("user, tick, refused") << false << true << 1 << QStringList{pkcheck};
    QTest::newRow("user, tick, would ask") << false << true << 2 << QStringList{pkcheck};
    QTest::newRow("user, tick, no pkcheck") << false << true << -1 << QStringList{pkcheck};
}

void TstTimeSync::whoSetsTheClock()
{
    QFETCH(bool, asRoot);
    QFETCH(bool, byTick);
    QFETCH(int, pkcheckExit);
    QFETCH(QStringList, started);
    Fixture c(QTime(12, 29, 59), QStringLiteral(" ZEIT01"));
    c.fakes.commands.asRoot = asRoot;
    if (byTick) {
        c.tickAt(QTime(12, 30, 0));
        c.fakes.commands.finish(pkcheckExit);
    } else {
        c.trigger("MenuEigenschaftenSynronisieren");
    }
    QStringList lines;
    const auto line = [&](const StartedCommand &command) {
        const QStringList setter = test::setClockCommand(c.folder.path(), QString());
        return (QStringList{command.program} + command.arguments)
            .join(u' ')
            .replace(c.folder.path() + QStringLiteral("/lumitakt-sync"), QStringLiteral("HELPER"))
            .replace(setter.first(), QStringLiteral("NET"));
    };
    for (const StartedCommand &command : c.fakes.commands.started)
        lines << line(command);
    for (const StartedCommand &command : c.fakes.commands.startedAsAdministrator)
        lines << QStringLiteral("as administrator: ") + line(command);
    QCOMPARE(lines, started);
    QVERIFY(c.fakes.commands.running.isEmpty());
}

void TstTimeSync::untrustedHelperStartsNothing_data()
{
    // A helper someone else could have put or changed would run as root.
    QTest::addColumn<QString>("what");
    // A link another user made, even to a program of root's (root running a
    // copy outside the install tree, beside a folder of that user's).
    for (const char *what : {"no helper", "helper others can change", "folder others can write", "helper of another user",
                             "link of another user to a program of root's"})
        QTest::newRow(what) << QString::fromLatin1(what);
}

void TstTimeSync::untrustedHelperStartsNothing()
{
    if (const QString why = test::noOwnHelper(); !why.isEmpty())
        QSKIP(qPrintable(why));
    QFETCH(QString, what);
    Fixture c(QTime(12, 29, 59), QStringLiteral("ZEIT01"));
    const QString helper = c.folder.filePath(QStringLiteral("lumitakt-sync"));
    constexpr auto all = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::WriteGroup
                         | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    if (what == u"no helper") {
        QVERIFY(QFile::remove(helper));
    } else if (what == u"helper others can change") {
        QVERIFY(QFile::setPermissions(helper, all));
    } else if (what == u"folder others can write") {
        QVERIFY(QFile::setPermissions(c.folder.path(), all));
    } else if (what == u"link of another user to a program of root's") {
        QVERIFY(QFile::remove(helper));
        if (!test::makeSymbolicLink(QStringLiteral("/bin/sh"), helper) || !test::giveToAnotherUser(helper))
            QSKIP("only root can give a link to another user");
    } else if (!test::giveToAnotherUser(helper)) {
        QSKIP("only root can give a file to another user");
    }
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^The clock is not set: its helper is not started, since ")));
    c.trigger("MenuEigenschaftenSynronisieren");
    c.tickAt(QTime(12, 30, 0));
    QVERIFY(c.fakes.commands.started.isEmpty());
    QVERIFY(c.fakes.commands.running.isEmpty());
}

void TstTimeSync::menuCommandStartsOnce()
{
    Fixture c(QTime(9, 1), QStringLiteral("ZEIT01"));
    QAction *sync = c.item("MenuEigenschaftenSynronisieren");
    QVERIFY(sync->isEnabled());
    sync->trigger();
    QCOMPARE(c.fakes.commands.started,
             QList<StartedCommand>{setClockCommand(c.folder.path(), QStringLiteral("ZEIT01"))});
}

void TstTimeSync::startedAsAdministratorForReal()
{
    // The real starter: Windows' consent (which Wine grants at once) or, on
    // Linux, a plain start; the arguments arrive whole, a blank included, and
    // the program's exit status comes back to the event loop.
    QTemporaryDir folder;
    const QString made = folder.filePath(QStringLiteral("made by a started program"));
    const QStringList command = test::makeFolderCommand(made);
    ProcessCommandStarter starter;
    int exitCode = -2;
    starter.startAsAdministrator(command.first(), command.mid(1), [&exitCode](int code) { exitCode = code; });
    QVERIFY(QTest::qWaitFor([&exitCode] { return exitCode != -2; }, 20000));
    QCOMPARE(exitCode, 0);
    QVERIFY(QFileInfo(made).isDir());
}

void TstTimeSync::dialogElements()
{
    Fixture c(QTime(9, 1), QStringLiteral("ZEIT01"));
    c.item("MenuEigenschaftenSynronisierenMit")->trigger();
    TimeServerDialog *d = c.dialog();
    QVERIFY(d);
    QVERIFY(d->isVisible());
    QVERIFY(!d->isModal());
    QVERIFY(!c.window->isEnabled());
    QCOMPARE(d->windowTitle(), QStringLiteral(" syncronisieren mit"));
    QCOMPARE(d->size(), QSize(382, 64));
    QCOMPARE(d->findChild<QGroupBox *>(QStringLiteral("Frame"))->geometry(), QRect(6, 2, 367, 51));
    QLineEdit *text = c.text();
    QCOMPARE(text->geometry(), QRect(10, 18, 255, 24));
    QCOMPARE(text->maxLength(), 25);
    QCOMPARE(text->text(), QStringLiteral("ZEIT01"));
    QCOMPARE(text->selectedText(), QStringLiteral("ZEIT01"));
    QCOMPARE(text->font().family(), QStringLiteral("Arial"));
    QPushButton *ok = d->findChild<QPushButton *>(QStringLiteral("btnOK"));
    QCOMPARE(ok->geometry(), QRect(278, 18, 80, 23));
    QVERIFY(ok->isDefault());
    // A second command only brings the open dialog to the front.
    c.item("MenuEigenschaftenSynronisierenMit")->trigger();
    QCOMPARE(c.dialog(), d);

    // Typing replaces the selected name; at most 25 characters.
    QTest::keyClicks(text, QStringLiteral("zeit.example.org.and.then.some.more"));
    QCOMPARE(text->text(), QStringLiteral("zeit.example.org.and.then"));
}

void TstTimeSync::dialogStoresOnOkOnly_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("OK with a name") << QStringLiteral("  zeit01 ") << true << QStringLiteral("  zeit01 ") << true;
    QTest::newRow("OK with nothing") << QString() << true << QString() << false;
    QTest::newRow("closed") << QStringLiteral("other") << false << QStringLiteral("ZEIT01") << true;
    QTest::newRow("OK with a name that can be none") << QStringLiteral("zeit.bücher.de") << true << QStringLiteral("zeit.bücher.de")
                                                     << false;
}

void TstTimeSync::dialogStoresOnOkOnly()
{
    QFETCH(QString, typed);
    QFETCH(bool, ok);
    QFETCH(QString, stored);
    QFETCH(bool, enabled);
    Fixture c(QTime(9, 1), QStringLiteral("ZEIT01"));
    c.item("MenuEigenschaftenSynronisierenMit")->trigger();
    c.text()->setText(typed);
    if (ok && !enabled && !typed.isEmpty())
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^The time server name \"%1\" is refused: ")
                                                                  .arg(QRegularExpression::escape(typed))));
    if (ok)
        QTest::keyClick(c.text(), Qt::Key_Return); // Enter presses OK
    else
        c.dialog()->close();
    c.settle();
    QVERIFY(!c.dialog());
    QCOMPARE(c.model->settings().timeServer, stored);
    QVERIFY(c.window->isEnabled());
    // The clock's next activation follows the new name.
    QCOMPARE(c.item("MenuEigenschaftenSynronisieren")->isEnabled(), enabled);
    // OK starts no synchronisation.
    QVERIFY(c.fakes.commands.started.isEmpty());
}

void TstTimeSync::longNameFromTheFileIsNotCut()
{
    const QString longName = QStringLiteral("a-rather-long-time-server.example.org");
    Fixture c(QTime(9, 1), longName);
    c.item("MenuEigenschaftenSynronisierenMit")->trigger();
    QCOMPARE(c.text()->text(), longName);
    c.dialog()->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
    c.settle();
    QCOMPARE(c.model->settings().timeServer, longName);
}

QTEST_MAIN(TstTimeSync)
#include "tst_timesync.moc"
