#include <QFile>
#include <QProcess>
#include <QTest>

// The helper that sets the clock as root, built with a stand-in for the NTP
// client that writes down how it was called. No test sets the real clock.
class TstSyncHelper : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init() { QFile::remove(m_calls); }
    void names_data();
    void names();

private:
    const QString m_client = QStringLiteral(LUMITAKT_STANDIN_CLIENT);
    const QString m_calls = QStringLiteral(LUMITAKT_STANDIN_CLIENT ".calls");
};

void TstSyncHelper::initTestCase()
{
    QFile client(m_client);
    QVERIFY(client.open(QIODevice::WriteOnly | QIODevice::Truncate));
    client.write("#!/bin/sh\n{ printf '%s\\n' \"$#\" \"$@\"; env | sort; } > \"$0.calls\"\nexit 7\n");
    client.close();
    QVERIFY(client.setPermissions(client.permissions() | QFileDevice::ExeOwner));
}

void TstSyncHelper::names_data()
{
    // The arguments, and whether the client gets the one name.
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("handedOn");
    for (const char *name : {"ZEIT01", "ntp.example.org", "pool.ntp.org.", "192.0.2.7", "2001:db8::7"})
        QTest::newRow(name) << QStringList{QString::fromLatin1(name)} << true;
    for (const char *name : {"", "-q", "--help", "zeit eins", "a..b", "/usr/bin/x", "x;id", "$(id)", "`id`", "a|b", "x'y", "a>b",
                             "-zeit.de", "zeit-", ".", "zeit.de.."})
        QTest::newRow(qPrintable(QStringLiteral("refused ") + QString::fromLatin1(name))) << QStringList{QString::fromLatin1(name)} << false;
    QTest::newRow("63 in a label") << QStringList{QString(63, u'a') + QStringLiteral(".de")} << true;
    QTest::newRow("refused 64 in a label") << QStringList{QString(64, u'a')} << false;
    QTest::newRow("253 in all") << QStringList{QStringList(4, QString(63, u'c')).join(u'.').left(253)} << true;
    QTest::newRow("refused 254 in all") << QStringList{QStringList(4, QString(63, u'c')).join(u'.').left(254)} << false;
    QTest::newRow("refused no name") << QStringList{} << false;
    QTest::newRow("refused two names") << QStringList{QStringLiteral("ZEIT01"), QStringLiteral("ZEIT02")} << false;
}

void TstSyncHelper::names()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, handedOn);
    QProcess helper;
    helper.start(QStringLiteral(LUMITAKT_SYNC_STANDIN), arguments);
    QVERIFY(helper.waitForFinished(10000));
    QCOMPARE(helper.exitStatus(), QProcess::NormalExit);
    QFile calls(m_calls);
    if (!handedOn) {
        QCOMPARE(helper.exitCode(), 2);
        QVERIFY2(!calls.exists(), "the client was started");
        return;
    }
    // The client's exit status is the helper's; it gets the one name, and an
    // environment of the helper's own, nothing of the caller's.
    QCOMPARE(helper.exitCode(), 7);
    QVERIFY(calls.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = calls.readAll().split('\n');
    QCOMPARE(lines.value(0), QByteArray("1"));
    QCOMPARE(lines.value(1), arguments.first().toUtf8());
    QStringList environment;
    for (const QByteArray &line : lines.mid(2))
        if (!line.isEmpty() && !line.startsWith("PWD=") && !line.startsWith("SHLVL=") && !line.startsWith("_="))
            environment << QString::fromUtf8(line.left(line.indexOf('=')));
    QCOMPARE(environment, (QStringList{QStringLiteral("LC_ALL"), QStringLiteral("PATH")}));
}

QTEST_GUILESS_MAIN(TstSyncHelper)
#include "tst_synchelper.moc"
