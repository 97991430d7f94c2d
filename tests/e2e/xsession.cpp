#include "xsession.h"

#include <QDeadlineTimer>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <QCoreApplication>
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
    ::stop(m_wm.get());
    ::stop(m_xvfb.get());
    m_wm.reset();
    m_xvfb.reset();
    m_display.clear();
    m_logs.reset();
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
    m_logs = std::make_unique<QTemporaryDir>();
    m_xvfb = std::make_unique<QProcess>();
    m_xvfb->setStandardErrorFile(m_logs->filePath(QStringLiteral("xvfb.log")));
    // -displayfd: the server takes the first free display and writes its
    // number once it accepts connections, so tests side by side never race
    // for a display.
    m_xvfb->start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                                           QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1024x768x24")});
    QByteArray number;
    const bool up = waitFor(60000, [&] {
        m_xvfb->waitForReadyRead(200);
        number += m_xvfb->readAllStandardOutput();
        return number.endsWith('\n') || m_xvfb->state() == QProcess::NotRunning;
    });
    bool valid = false;
    number.trimmed().toUInt(&valid);
    if (!up || !valid) {
        QFile log(m_logs->filePath(QStringLiteral("xvfb.log")));
        *error = QStringLiteral("Xvfb did not come up: ") + (log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll()) : QString());
        return false;
    }
    m_display = QStringLiteral(":") + QString::fromLatin1(number.trimmed());
    return startWindowManager(error);
}

bool XSession::startWindowManager(QString *error)
{
    // Under load openbox can be slow to come up, or end on its way: it gets
    // a generous wait and two more starts.
    QString logFile;
    for (int attempt = 1; attempt <= 3; ++attempt) {
        logFile = m_logs->filePath(QStringLiteral("openbox-%1.log").arg(attempt));
        ::stop(m_wm.get());
        m_wm = std::make_unique<QProcess>();
        m_wm->setProcessEnvironment(environment());
        // Nothing reads the window manager's output: a pipe left full would stop it.
        m_wm->setStandardOutputFile(QProcess::nullDevice());
        m_wm->setStandardErrorFile(logFile);
        m_wm->start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
        const bool announced = waitFor(60000, [&] {
            return m_wm->state() == QProcess::NotRunning
                   || run(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTED")})
                          .contains(QStringLiteral("_NET_ACTIVE_WINDOW"));
        });
        if (announced && m_wm->state() != QProcess::NotRunning && managesNewWindows())
            return true;
        QFile log(logFile);
        const QString said = log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll()).trimmed() : QString();
        const QString state = m_wm->state() == QProcess::NotRunning
                                  ? QStringLiteral("ended with %1%2").arg(m_wm->exitCode()).arg(m_wm->exitStatus() == QProcess::CrashExit ? QStringLiteral(" (crashed)") : QString())
                                  : QStringLiteral("running");
        qWarning("openbox is not up on %s (start %d, %s): %s", qPrintable(m_display), attempt, qPrintable(state), qPrintable(said));
    }
    QFile log(logFile);
    *error = QStringLiteral("openbox does not manage the display ") + m_display + QStringLiteral(": ")
             + (log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll()) : QString());
    return false;
}

bool XSession::managesNewWindows()
{
    // openbox announces itself before it handles the windows mapped while it
    // starts: such a window stays without a frame until some later event
    // wakes openbox. A probe window shows when openbox frames new windows;
    // while it does not, a new probe is that later event.
    const QString name = QStringLiteral("lumitaktprobe%1").arg(QCoreApplication::applicationPid());
    QDeadlineTimer deadline(60000);
    while (!deadline.hasExpired() && m_wm->state() != QProcess::NotRunning) {
        QProcess probe;
        probe.setProcessEnvironment(environment());
        probe.start(QStringLiteral("xmessage"), {QStringLiteral("-name"), name, QStringLiteral("probe")});
        const bool framed = waitFor(3000, [&] {
            const QStringList ids = run(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--classname"),
                                                                    QStringLiteral("^") + name + QStringLiteral("$")})
                                        .split(u'\n', Qt::SkipEmptyParts);
            return std::any_of(ids.cbegin(), ids.cend(), [&](const QString &id) { return isManaged(id.toULongLong()); });
        });
        probe.kill();
        probe.waitForFinished(3000);
        if (framed)
            return true;
    }
    return false;
}

bool XSession::isManaged(qulonglong window) const
{
    return frameExtents(window).size() == 4;
}

qulonglong XSession::waitForManagedWindow(qint64 pid, const QStringList &search, int timeoutMs) const
{
    qulonglong window = 0;
    waitFor(timeoutMs, [&] {
        const QStringList ids = run(QStringLiteral("xdotool"), QStringList{QStringLiteral("search"), QStringLiteral("--all"), QStringLiteral("--onlyvisible"),
                                                                           QStringLiteral("--pid"), QString::number(pid)}
                                                                   + search)
                                    .split(u'\n', Qt::SkipEmptyParts);
        for (const QString &id : ids)
            if (isManaged(id.toULongLong())) {
                window = id.toULongLong();
                return true;
            }
        return false;
    });
    return window;
}

bool XSession::activate(qulonglong window) const
{
    const auto active = [&] {
        return run(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")}).trimmed() == QString::number(window);
    };
    return waitFor(30000, [&] {
        if (active())
            return true;
        run(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QString::number(window)});
        return waitFor(3000, active);
    });
}

bool XSession::keys(qulonglong window, const QStringList &names) const
{
    if (!activate(window))
        return false;
    run(QStringLiteral("xdotool"), QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("100")} + names);
    return true;
}

bool XSession::menu(qulonglong window, const QString &entry, const QStringList &inSubmenu) const
{
    if (!activate(window))
        return false;
    // The windows shown with the window's class: itself, its menus, its dialogs.
    const QString instance = property(window, QStringLiteral("WM_CLASS")).section(u'"', 1, 1);
    const auto shown = [&] {
        return run(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--classname"),
                                               QStringLiteral("^") + instance + QStringLiteral("$")})
            .split(u'\n', Qt::SkipEmptyParts)
            .size();
    };
    const qsizetype before = shown();
    run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("M")});
    if (!waitFor(10000, [&] { return shown() > before; }))
        return false;
    run(QStringLiteral("xdotool"), {QStringLiteral("key"), entry});
    if (inSubmenu.isEmpty())
        return true;
    if (!waitFor(10000, [&] { return shown() > before + 1; }))
        return false;
    run(QStringLiteral("xdotool"), QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("100")} + inSubmenu);
    return true;
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
