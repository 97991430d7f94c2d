#include "mainwindow/lumitakt.h"
#include "support/clockfixture.h"
#include "timesync/synchron.h"
#include "timesync/timesync.h"

#include <QAction>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace lumitakt;

namespace {

struct Fixture : test::ClockFixture {
    explicit Fixture(QTime start, const QString &server = QString()) : ClockFixture(start, Shown)
    {
        state.Zeitserver = server;
    }
    ~Fixture() { delete window->synchron(); }
    QLineEdit *text() const { return window->synchron()->findChild<QLineEdit *>(QStringLiteral("txtSynchron")); }
};

} // namespace

class TstTimeSync : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { test::quietOffscreen(); }
    void planForAName_data();
    void planForAName();
    void whoSetsTheClock_data();
    void whoSetsTheClock();
    void tenMinuteRule_data();
    void tenMinuteRule();
    void menuCommandStartsOnce();
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
    for (const char16_t *name : {u"ZEIT01", u"ntp.example.org", u"192.0.2.7", u"2001:db8::7"})
        QTest::newRow(QString::fromUtf16(name).toUtf8().constData()) << QString::fromUtf16(name) << QString::fromUtf16(name);
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
    if (plan)
        QCOMPARE(*plan, (SyncPlan{std::nullopt, {QStringLiteral("/opt/lt/lumitakt-sync"), {handed}}}));
}

void TstTimeSync::whoSetsTheClock_data()
{
    // Root starts the helper itself; an ordinary user goes through pkexec,
    // and the tick asks pkcheck first, without a question to the user.
    QTest::addColumn<bool>("asRoot");
    QTest::addColumn<bool>("byTick");
    QTest::addColumn<int>("pkcheckExit");
    QTest::addColumn<QStringList>("started");
    const QString pkcheck = QStringLiteral("pkcheck --action-id org.lumitakt.Lumitakt.sync --process ")
                            + QString::number(QCoreApplication::applicationPid());
    QTest::newRow("root, menu") << true << false << 0 << QStringList{QStringLiteral("HELPER ZEIT01")};
    QTest::newRow("root, tick") << true << true << 0 << QStringList{QStringLiteral("HELPER ZEIT01")};
    QTest::newRow("user, menu") << false << false << 0 << QStringList{QStringLiteral("pkexec HELPER ZEIT01")};
    QTest::newRow("user, tick, allowed") << false << true << 0 << QStringList{pkcheck, QStringLiteral("pkexec HELPER ZEIT01")};
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
        c.window->MenuEigenschaftenSynronisieren_Click();
    }
    QStringList lines;
    for (const StartedCommand &command : c.fakes.commands.started)
        lines << (QStringList{command.program} + command.arguments).join(u' ').replace(c.folder.path() + QStringLiteral("/lumitakt-sync"),
                                                                                         QStringLiteral("HELPER"));
    QCOMPARE(lines, started);
    QVERIFY(c.fakes.commands.running.isEmpty());
}

void TstTimeSync::tenMinuteRule_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("server");
    QTest::addColumn<int>("started");
    QTest::newRow("12:30:00") << QTime(12, 30, 0) << QStringLiteral("ZEIT01") << 1;
    QTest::newRow("12:30:00.5") << QTime(12, 30, 0, 500) << QStringLiteral("ZEIT01") << 1;
    QTest::newRow("12:31:00") << QTime(12, 31, 0) << QStringLiteral("ZEIT01") << 0;
    QTest::newRow("12:30:01") << QTime(12, 30, 1) << QStringLiteral("ZEIT01") << 0;
    QTest::newRow("00:00:00") << QTime(0, 0, 0) << QStringLiteral("ZEIT01") << 1;
    QTest::newRow("12:50:00") << QTime(12, 50, 0) << QStringLiteral("ZEIT01") << 1;
    QTest::newRow("no server") << QTime(12, 30, 0) << QString() << 0;
    QTest::newRow("option as name") << QTime(12, 30, 0) << QStringLiteral("-x") << 0;
}

void TstTimeSync::tenMinuteRule()
{
    QFETCH(QTime, time);
    QFETCH(QString, server);
    QFETCH(int, started);
    Fixture c(QTime(12, 0, 30), server);
    c.tickAt(time);
    QCOMPARE(c.fakes.commands.started.size(), started);
    if (started)
        QCOMPARE(c.fakes.commands.started.first(), (StartedCommand{c.folder.path() + QStringLiteral("/lumitakt-sync"), {server}}));

    // Over a whole hour, ticking twice a second: one start at each of the six marks.
    c.fakes.commands.started.clear();
    c.fakes.clock.set(QTime(13, 0, 0, 250));
    for (int i = 0; i < 7200; ++i) {
        c.window->Timer_Timer();
        c.fakes.clock.advance(500);
    }
    QCOMPARE(c.fakes.commands.started.size(), server == u"ZEIT01" ? 6 : 0);
}

void TstTimeSync::menuCommandStartsOnce()
{
    Fixture c(QTime(9, 1), QStringLiteral("ZEIT01"));
    QAction *sync = c.item("MenuEigenschaftenSynronisieren");
    c.window->Form_Activate();
    QVERIFY(sync->isEnabled());
    sync->trigger();
    QCOMPARE(c.fakes.commands.started,
             (QList<StartedCommand>{{c.folder.path() + QStringLiteral("/lumitakt-sync"), {QStringLiteral("ZEIT01")}}}));
}

void TstTimeSync::dialogElements()
{
    Fixture c(QTime(9, 1), QStringLiteral("ZEIT01"));
    c.item("MenuEigenschaftenSynronisierenMit")->trigger();
    Synchron *d = c.window->synchron();
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
    QCOMPARE(c.window->synchron(), d);

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
}

void TstTimeSync::dialogStoresOnOkOnly()
{
    QFETCH(QString, typed);
    QFETCH(bool, ok);
    QFETCH(QString, stored);
    QFETCH(bool, enabled);
    Fixture c(QTime(9, 1), QStringLiteral("ZEIT01"));
    c.window->Form_Activate();
    c.item("MenuEigenschaftenSynronisierenMit")->trigger();
    c.text()->setText(typed);
    if (ok)
        QTest::keyClick(c.text(), Qt::Key_Return); // Enter presses OK
    else
        c.window->synchron()->close();
    c.settle();
    QVERIFY(!c.window->synchron());
    QCOMPARE(c.state.Zeitserver, stored);
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
    c.window->synchron()->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
    c.settle();
    QCOMPARE(c.state.Zeitserver, longName);
}

QTEST_MAIN(TstTimeSync)
#include "tst_timesync.moc"
