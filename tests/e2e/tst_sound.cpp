#include "platform/pulsesoundplayer.h"
#include "support/stuckpipe.h"
#include "xsession.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

using namespace lumitakt;

// The alarm's player against a private sound server whose output is
// recorded: what it plays is heard, what it cannot play rings the bell.
class TstSound : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void playsAndLetsTheServerGo();
    void bellInsteadOfSilence_data();
    void bellInsteadOfSilence();
    void serverGoneBetweenTwoAlarms();
    void aMinuteOfRepeats();

private:
    bool startServer();
    // Waits, letting the player's events run.
    static void pass(int ms) { QTest::qWait(ms); }
    int heard(const std::function<void()> &sound, int ms = 2500);

    std::unique_ptr<AudioServer> m_audio;
    QTemporaryDir m_folder;
    const QString m_wav = QStringLiteral(LUMITAKT_PROGRAM_FOLDER "/Termin.wav");
    int m_bells = 0;
};

void TstSound::initTestCase()
{
    REQUIRE_TOOLS(AudioServer::missingTools());
    QVERIFY(QFile::exists(m_wav));
    QVERIFY(startServer());
}

bool TstSound::startServer()
{
    m_audio = std::make_unique<AudioServer>();
    QString error;
    if (!m_audio->start(&error)) {
        qWarning() << error;
        return false;
    }
    qputenv("PULSE_SERVER", m_audio->server().toUtf8());
    return true;
}

int TstSound::heard(const std::function<void()> &sound, int ms)
{
    const QString recording = m_folder.filePath(QStringLiteral("heard.wav"));
    if (!m_audio->startRecording(recording))
        return -1;
    pass(300);
    sound();
    pass(ms);
    m_audio->stopRecording();
    return AudioServer::peak(recording);
}

void TstSound::playsAndLetsTheServerGo()
{
    PulseSoundPlayer player([this] { ++m_bells; });
    m_bells = 0;
    const int peak = heard([&] { player.play(m_wav); });
    QVERIFY2(peak > 3000, qPrintable(QString::number(peak)));
    QCOMPARE(m_bells, 0);
    // Idle a while after the sound, it holds no connection.
    QVERIFY(player.isConnected());
    QVERIFY(waitFor(8000, [&] {
        pass(100);
        return !player.isConnected();
    }));
}

void TstSound::bellInsteadOfSilence_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("server");
    QTest::addColumn<bool>("sharedHome");
    QTest::newRow("no file") << QStringLiteral("missing.wav") << QString() << false;
    QTest::newRow("not a sound") << QStringLiteral("text.wav") << QString() << false;
    QTest::newRow("no server") << QString() << QStringLiteral("unix:/nonexistent/pulse/native") << false;
    QTest::newRow("a pipe in its place") << QStringLiteral("pipe.wav") << QString() << false;
    // Whoever can change HOME chooses the server and the cookie file the
    // sound server's library takes (root with a user's HOME too).
    QTest::newRow("a HOME others can change") << QString() << QString() << true;
}

void TstSound::bellInsteadOfSilence()
{
    QFETCH(QString, file);
    QFETCH(QString, server);
    QFETCH(bool, sharedHome);
    QFile text(m_folder.filePath(QStringLiteral("text.wav")));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("RIFF, but no sound in it\n");
    text.close();
    const QString path = file.isEmpty() ? m_wav : m_folder.filePath(file);
    // The clock plays the sound on its tick: a pipe would stop it for good.
    std::optional<test::StuckPipe> pipe;
    if (file == u"pipe.wav") {
        pipe.emplace(path);
        QVERIFY(pipe->made());
    }
    if (!server.isEmpty())
        qputenv("PULSE_SERVER", server.toUtf8());
    const QByteArray home = qgetenv("HOME");
    QTemporaryDir shared;
    if (sharedHome) {
        QVERIFY(QFile::setPermissions(shared.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
                                                         | QFile::WriteOther | QFile::ExeOther));
        qputenv("HOME", QFile::encodeName(shared.path()));
    }
    PulseSoundPlayer player([this] { ++m_bells; });
    m_bells = 0;
    const int peak = heard([&] { player.play(path); }, 1500);
    qputenv("PULSE_SERVER", m_audio->server().toUtf8());
    qputenv("HOME", home);
    QCOMPARE(m_bells, 1);
    QVERIFY2(peak >= 0 && peak < 100, qPrintable(QString::number(peak)));
    QVERIFY2(!pipe || pipe->freed() == 0, "the player waited for the pipe");
}

void TstSound::serverGoneBetweenTwoAlarms()
{
    PulseSoundPlayer player([this] { ++m_bells; });
    m_bells = 0;
    QVERIFY(heard([&] { player.play(m_wav); }) > 3000);
    // The server ends while the player still holds its connection; the
    // desktop starts a new one before the next alarm.
    m_audio.reset();
    pass(500);
    QVERIFY(startServer());
    const int peak = heard([&] { player.play(m_wav); });
    QVERIFY2(peak > 3000, qPrintable(QString::number(peak)));
    QCOMPARE(m_bells, 0);
}

void TstSound::aMinuteOfRepeats()
{
    // An alarm left alone starts the sound twice a second for a minute, each
    // start cutting off the one before; the last one plays to its end.
    PulseSoundPlayer player([this] { ++m_bells; });
    m_bells = 0;
    const int peak = heard(
        [&] {
            for (int i = 0; i < 120; ++i) {
                player.play(m_wav);
                pass(i % 10 == 0 ? 50 : 5);
            }
        },
        2500);
    QVERIFY2(peak > 3000, qPrintable(QString::number(peak)));
    QCOMPARE(m_bells, 0);
}

QTEST_MAIN(TstSound)
#include "tst_sound.moc"
