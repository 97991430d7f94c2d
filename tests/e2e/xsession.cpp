#include "xsession.h"

#include <QDeadlineTimer>

#include <csignal>
#include <cstdint>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

namespace {

} // namespace

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

} // namespace

XSession::~XSession()
{
    stop();
}

void XSession::stop()
{
    for (auto it = m_clients.rbegin(); it != m_clients.rend(); ++it)
        ::stop(it->get());
    m_clients.clear();
    ::stop(m_wm.get());
    ::stop(m_xvfb.get());
    m_wm.reset();
    m_xvfb.reset();
    m_display.clear();
}

void XSession::stopServer()
{
    ::stop(m_xvfb.get());
}

QStringList XSession::missingTools()
{
    QStringList missing;
    for (const char *tool : {"Xvfb", "openbox", "xdotool", "xprop", "xwininfo", "xdpyinfo", "xmessage", "import"})
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
    // A session that did not come up is stopped and started once more from
    // scratch, on a display number of its own: seen once on a loaded machine,
    // openbox never took a display restarted after its server had died.
    if (startOnce(error))
        return true;
    qWarning("X session: %s; starting it anew", qPrintable(*error));
    stop();
    return startOnce(error);
}

bool XSession::startOnce(QString *error)
{
    // A display number that no other server holds.
    for (int n = 90; n < 200 && m_display.isEmpty(); ++n)
        if (!QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)) && !QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
            m_display = QStringLiteral(":%1").arg(n);
    if (m_display.isEmpty()) {
        *error = QStringLiteral("no free display number");
        return false;
    }
    m_xvfb = std::make_unique<QProcess>();
    m_xvfb->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_xvfb->start(QStringLiteral("Xvfb"), {m_display, QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-screen"),
                                           QStringLiteral("0"), QStringLiteral("1024x768x24")});
    const bool up = waitFor(30000, [&] {
        return run(QStringLiteral("xdpyinfo"), {QStringLiteral("-display"), m_display}, 2000).contains(QStringLiteral("dimensions"));
    });
    if (!up) {
        *error = QStringLiteral("Xvfb did not start on ") + m_display;
        return false;
    }
    // On a loaded machine openbox can take long to come up, or hang on its
    // way: it gets a generous wait, and a second start.
    bool managed = false;
    for (int attempt = 0; attempt < 2 && !managed; ++attempt) {
        ::stop(m_wm.get());
        m_wm = std::make_unique<QProcess>();
        m_wm->setProcessEnvironment(environment());
        // Nothing reads the window manager's output: a pipe left full would stop it.
        m_wm->setStandardOutputFile(QProcess::nullDevice());
        m_wm->setStandardErrorFile(QDir::temp().filePath(QStringLiteral("lumitakt-e2e-openbox.log")));
        m_wm->start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
        managed = waitFor(30000, [&] {
            return m_wm->state() != QProcess::NotRunning
                   && run(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")})
                          .contains(QStringLiteral("window id"));
        });
    }
    if (!managed) {
        QFile log(QDir::temp().filePath(QStringLiteral("lumitakt-e2e-openbox.log")));
        *error = QStringLiteral("openbox did not take the display: ")
                 + (log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll()) : QString());
        return false;
    }
    // openbox announces itself before it manages new windows: a window mapped
    // in between stays without a frame. Wait until a probe window gets one.
    for (int attempt = 0; attempt < 20; ++attempt) {
        QProcess probe;
        probe.setProcessEnvironment(environment());
        probe.start(QStringLiteral("xmessage"), {QStringLiteral("-name"), QStringLiteral("lumitakte2eprobe"), QStringLiteral("probe")});
        const qulonglong window = waitForWindow(QStringLiteral("lumitakte2eprobe"), 3000);
        const bool framed = window && waitFor(1000, [&] { return frameExtents(window).size() == 4; });
        probe.kill();
        probe.waitForFinished(3000);
        if (framed)
            return true;
    }
    *error = QStringLiteral("openbox does not manage new windows");
    return false;
}

QString XSession::run(const QString &program, const QStringList &arguments, int timeoutMs) const
{
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
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

qulonglong XSession::waitForWindow(const QString &className, int timeoutMs) const
{
    qulonglong window = 0;
    waitFor(timeoutMs, [&] {
        const QStringList ids = run(QStringLiteral("xdotool"),
                                    {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--classname"), className})
                                    .split(u'\n', Qt::SkipEmptyParts);
        window = ids.isEmpty() ? 0 : ids.first().toULongLong();
        return window != 0;
    });
    return window;
}

QList<qulonglong> XSession::windowsOf(qint64 pid) const
{
    QList<qulonglong> windows;
    const QStringList ids = run(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--all"), QStringLiteral("--onlyvisible"),
                                                            QStringLiteral("--pid"), QString::number(pid), QStringLiteral("--name"),
                                                            QStringLiteral(".*")})
                                .split(u'\n', Qt::SkipEmptyParts);
    for (const QString &id : ids)
        windows.append(id.toULongLong());
    return windows;
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
