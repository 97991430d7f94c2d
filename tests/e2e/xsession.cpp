#include "xsession.h"

#include <QDeadlineTimer>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

bool waitFor(int timeoutMs, const std::function<bool()> &done)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        if (done())
            return true;
        QThread::msleep(50);
    }
    return done();
}

int zombiesOf(qint64 pid)
{
    int zombies = 0;
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/") + entry + QStringLiteral("/stat"));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> fields = stat.readAll().split(')').value(1).trimmed().split(' ');
        if (fields.size() > 1 && fields[1] == QByteArray::number(pid) && fields[0] == "Z")
            ++zombies;
    }
    return zombies;
}

namespace {

void stop(QProcess *process)
{
    if (!process || process->state() == QProcess::NotRunning)
        return;
    process->terminate();
    if (!process->waitForFinished(3000)) {
        process->kill();
        process->waitForFinished(3000);
    }
}

// The session's answer to what it was told, one line of it.
QByteArray answer(QProcess *session, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!session->canReadLine() && session->waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
    }
    return session->readLine().trimmed();
}

} // namespace

XSession::~XSession()
{
    stop();
}

void XSession::stopClients()
{
    for (auto it = m_clients.rbegin(); it != m_clients.rend(); ++it)
        ::stop(it->get());
    m_clients.clear();
}

void XSession::stop()
{
    stopClients();
    if (m_session) {
        // The script ends the session once its input ends.
        m_session->closeWriteChannel();
        if (!m_session->waitForFinished(30000))
            ::stop(m_session.get());
    }
    m_session.reset();
    m_display.clear();
}

void XSession::stopServer()
{
    if (m_session && m_session->write("stop-server\n") > 0 && answer(m_session.get(), 30000) != "stopped")
        qWarning("the X server on %s did not stop", qPrintable(m_display));
}

QStringList XSession::missingTools()
{
    QStringList missing;
    for (const char *tool : {"Xvfb", "openbox", "xdotool", "xprop", "xwininfo", "xdpyinfo", "xmessage", "import", "setpriv"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            missing.append(QString::fromLatin1(tool));
    if (fakeTimeLibrary().isEmpty())
        missing.append(QStringLiteral("libfaketime"));
    return missing;
}

QString XSession::fakeTimeLibrary()
{
    for (const char *path : {"/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1", "/usr/lib/aarch64-linux-gnu/faketime/libfaketime.so.1",
                             "/usr/lib/faketime/libfaketime.so.1", "/usr/local/lib/faketime/libfaketime.so.1"})
        if (QFile::exists(QString::fromLatin1(path)))
            return QString::fromLatin1(path);
    return {};
}

QProcessEnvironment XSession::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    return env;
}

bool XSession::start(QString *error)
{
    stop();
    m_session = std::make_unique<QProcess>();
    // What the script says on its way (a slow window manager started again,
    // or why the session did not come up) goes into the test's log.
    m_session->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_session->start(QStringLiteral("/bin/bash"), {QStringLiteral(LUMITAKT_XSESSION_SCRIPT), QStringLiteral("serve")});
    const QByteArray line = answer(m_session.get(), 10 * 60 * 1000);
    if (!line.startsWith("DISPLAY=:")) {
        *error = QStringLiteral("no X session (the reason is above): ") + QString::fromLocal8Bit(line);
        stop();
        return false;
    }
    m_display = QString::fromLocal8Bit(line.mid(8));
    return true;
}

bool XSession::script(const QStringList &arguments, QString *output) const
{
    // Long enough for the script's own deadlines, which end it first.
    const ToolResult result = runTool(QStringLiteral("/bin/bash"), QStringList{QStringLiteral(LUMITAKT_XSESSION_SCRIPT)} + arguments,
                                      environment(), 120000, QProcess::SeparateChannels);
    if (output)
        *output = result.output.trimmed();
    return result.exitCode == 0;
}

qulonglong XSession::waitForManagedWindow(qint64 pid, const QStringList &search) const
{
    QString window;
    return script(QStringList{QStringLiteral("window"), QString::number(pid)} + search, &window) ? window.toULongLong() : 0;
}

bool XSession::activate(qulonglong window) const
{
    return script({QStringLiteral("activate"), QString::number(window)});
}

bool XSession::keys(qulonglong window, const QStringList &names) const
{
    return script(QStringList{QStringLiteral("keys"), QString::number(window)} + names);
}

bool XSession::menu(qulonglong window, const QString &entry, const QStringList &inSubmenu) const
{
    return script(QStringList{QStringLiteral("menu"), QString::number(window), entry} + inSubmenu);
}

ToolResult runTool(const QString &program, const QStringList &arguments, const QProcessEnvironment &environment,
                   int timeoutMs, QProcess::ProcessChannelMode channels)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(channels);
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(3000);
        return {-1, QString::fromLocal8Bit(process.readAllStandardOutput())};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput())};
}

QString XSession::run(const QString &program, const QStringList &arguments, int timeoutMs) const
{
    const ToolResult result = runTool(program, arguments, environment(), timeoutMs, QProcess::SeparateChannels);
    return result.exitCode == -1 ? QString() : result.output;
}

QProcess *XSession::launch(const QString &program, const QStringList &arguments, const QProcessEnvironment &extra)
{
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment env = environment();
    for (const QString &key : extra.keys())
        env.insert(key, extra.value(key));
    process->setProcessEnvironment(env);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->start(program, arguments);
    m_clients.push_back(std::move(process));
    return m_clients.back().get();
}

QList<qulonglong> XSession::search(const QStringList &arguments) const
{
    QList<qulonglong> windows;
    for (const QString &id : run(QStringLiteral("xdotool"), QStringList{QStringLiteral("search")} + arguments).split(u'\n', Qt::SkipEmptyParts))
        windows.append(id.toULongLong());
    return windows;
}

qulonglong XSession::waitForWindow(const QString &className, int timeoutMs) const
{
    qulonglong window = 0;
    waitFor(timeoutMs, [&] { return (window = search({QStringLiteral("--onlyvisible"), QStringLiteral("--classname"), className}).value(0)) != 0; });
    return window;
}

QList<qulonglong> XSession::windowsOf(qint64 pid) const
{
    return search({QStringLiteral("--all"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"), QString::number(pid), QStringLiteral("--name"),
                   QStringLiteral(".*")});
}

QString XSession::property(qulonglong window, const QString &name) const
{
    return run(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(window), name}).trimmed();
}

QRect XSession::clientRect(qulonglong window) const
{
    const QString info = run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(window)});
    const auto value = [&](const char *label) {
        const QRegularExpression re(QString::fromLatin1(label) + QStringLiteral(":\\s+(-?\\d+)"));
        return re.match(info).captured(1).toInt();
    };
    return {value("Absolute upper-left X"), value("Absolute upper-left Y"), value("Width"), value("Height")};
}

QList<int> XSession::frameExtents(qulonglong window) const
{
    const QString text = property(window, QStringLiteral("_NET_FRAME_EXTENTS"));
    QList<int> extents;
    const QRegularExpression number(QStringLiteral("(\\d+)"));
    const QString values = text.section(u'=', 1);
    for (auto it = number.globalMatch(values); it.hasNext();)
        extents.append(it.next().captured(1).toInt());
    return extents;
}

QImage XSession::screenshot() const
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("screen.png"));
    run(QStringLiteral("import"), {QStringLiteral("-display"), m_display, QStringLiteral("-window"), QStringLiteral("root"), file});
    return QImage(file).convertToFormat(QImage::Format_RGB32);
}

AudioServer::~AudioServer()
{
    stopRecording();
    stop(m_daemon.get());
    if (!m_runtimeDir.isEmpty())
        QDir(m_runtimeDir).removeRecursively();
}

QStringList AudioServer::missingTools()
{
    QStringList missing;
    for (const char *tool : {"pulseaudio", "pactl", "parec"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            missing.append(QString::fromLatin1(tool));
    return missing;
}

QString AudioServer::server() const
{
    return QStringLiteral("unix:") + m_runtimeDir + QStringLiteral("/pulse/native");
}

bool AudioServer::start(QString *error)
{
    QTemporaryDir dir;
    dir.setAutoRemove(false);
    m_runtimeDir = dir.path();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtimeDir);
    env.insert(QStringLiteral("HOME"), m_runtimeDir);
    env.remove(QStringLiteral("DISPLAY"));
    m_daemon = std::make_unique<QProcess>();
    m_daemon->setProcessEnvironment(env);
    m_daemon->setStandardOutputFile(QProcess::nullDevice());
    m_daemon->setStandardErrorFile(QProcess::nullDevice());
    // No configuration of the machine's own: only the null sink and the socket.
    m_daemon->start(QStringLiteral("pulseaudio"),
                    {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                     QStringLiteral("--disable-shm=yes"), QStringLiteral("--use-pid-file=no"), QStringLiteral("-L"),
                     QStringLiteral("module-null-sink sink_name=lumitakt"), QStringLiteral("-L"),
                     QStringLiteral("module-native-protocol-unix auth-anonymous=1")});
    const bool up = waitFor(10000, [&] {
        QProcess pactl;
        QProcessEnvironment penv = env;
        penv.insert(QStringLiteral("PULSE_SERVER"), server());
        pactl.setProcessEnvironment(penv);
        pactl.start(QStringLiteral("pactl"), {QStringLiteral("list"), QStringLiteral("short"), QStringLiteral("sinks")});
        pactl.waitForFinished(3000);
        return pactl.readAllStandardOutput().contains("lumitakt");
    });
    if (!up)
        *error = QStringLiteral("the audio server did not start");
    return up;
}

bool AudioServer::startRecording(const QString &wavFile)
{
    m_recorder = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PULSE_SERVER"), server());
    m_recorder->setProcessEnvironment(env);
    m_recorder->start(QStringLiteral("parec"), {QStringLiteral("-d"), QStringLiteral("lumitakt.monitor"), QStringLiteral("--format=s16le"),
                                                QStringLiteral("--channels=1"), QStringLiteral("--rate=22050"),
                                                QStringLiteral("--file-format=wav"), wavFile});
    return m_recorder->waitForStarted(5000);
}

void AudioServer::stopRecording()
{
    if (!m_recorder)
        return;
    // parec completes the WAV header when it is interrupted.
    if (m_recorder->state() != QProcess::NotRunning) {
        ::kill(static_cast<pid_t>(m_recorder->processId()), SIGINT);
        if (!m_recorder->waitForFinished(5000))
            stop(m_recorder.get());
    }
    m_recorder.reset();
}

int AudioServer::peak(const QString &wavFile)
{
    QFile file(wavFile);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = file.readAll();
    const qsizetype data = bytes.indexOf("data");
    if (data < 0)
        return -1;
    int peak = 0;
    for (qsizetype i = data + 8; i + 1 < bytes.size(); i += 2) {
        const auto sample = static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[i]) | static_cast<std::uint8_t>(bytes[i + 1]) << 8);
        peak = std::max(peak, std::abs(static_cast<int>(sample)));
    }
    return peak;
}
