#pragma once

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

// Skips the test when a tool it needs is missing; in CI, where the tools are
// installed on purpose, that is a failure instead.
#define REQUIRE_TOOLS(missingTools)                                                                \
    do {                                                                                           \
        const QStringList missing = (missingTools);                                                \
        if (!missing.isEmpty()) {                                                                  \
            const QByteArray why = "missing tools: " + missing.join(u' ').toUtf8();                \
            if (qEnvironmentVariableIsSet("CI"))                                                   \
                QFAIL(why.constData());                                                            \
            QSKIP(why.constData());                                                                \
        }                                                                                          \
    } while (false)

// What a tool that ran to its end did: its exit code (-1 when it crashed,
// could not start or ran out of time) and what it printed.
struct ToolResult {
    int exitCode = -1;
    QString output;
};
// Runs a tool to its end in `environment`, its standard output alone or
// merged with its errors.
ToolResult runTool(const QString &program, const QStringList &arguments, const QProcessEnvironment &environment,
                   int timeoutMs, QProcess::ProcessChannelMode channels = QProcess::MergedChannels);

// Polls until `done` holds or the time is up; says whether it held.
bool waitFor(int timeoutMs, const std::function<bool()> &done);

// The children of a process that have ended but were never collected.
int zombiesOf(qint64 pid);

// A private PulseAudio server with one null sink, whose monitor a test can
// record to hear what a program played.
class AudioServer {
public:
    AudioServer() = default;
    ~AudioServer();
    AudioServer(const AudioServer &) = delete;
    AudioServer &operator=(const AudioServer &) = delete;

    static QStringList missingTools();
    bool start(QString *error);
    // PULSE_SERVER for the programs that should play here.
    QString server() const;
    // Records what the sink plays, to a WAV file, until stopRecording().
    bool startRecording(const QString &wavFile);
    void stopRecording();
    // The largest sample of a 16-bit WAV file's data, 0..32768.
    static int peak(const QString &wavFile);

private:
    QString m_runtimeDir;
    std::unique_ptr<QProcess> m_daemon;
    std::unique_ptr<QProcess> m_recorder;
};

// A private X display for one test, started, readied and stopped by
// tests/support/xsession.sh, which lives as long as this session (or this
// process, however it ends); the waits for a window and the typing into it
// are the script's too. Stopping the session stops what was started on it.
class XSession {
public:
    XSession() = default;
    ~XSession();
    XSession(const XSession &) = delete;
    XSession &operator=(const XSession &) = delete;

    // The tools the session needs; empty when all are there.
    static QStringList missingTools();
    // The library that shifts a program's wall clock when preloaded.
    static QString fakeTimeLibrary();

    bool start(QString *error);
    // Stops everything started on the display and the display itself; start() may follow.
    void stop();
    // Stops only the X server, as at the end of a desktop session.
    void stopServer();
    // Stops the programs started on the display so far: what a test left
    // running never meets the next one.
    void stopClients();
    QProcessEnvironment environment() const;

    // Runs an X client tool to its end and returns what it printed.
    QString run(const QString &program, const QStringList &arguments, int timeoutMs = 10000) const;
    // Starts a program on the display, kept until the session stops.
    QProcess *launch(const QString &program, const QStringList &arguments,
                     const QProcessEnvironment &extra = QProcessEnvironment());

    // The first window whose instance name matches, waiting for it to appear; 0 if none.
    qulonglong waitForWindow(const QString &className, int timeoutMs = 10000) const;
    // The script's x_window, x_activate, x_keys and x_menu, with its waits:
    // the first visible window of a process that matches all these `xdotool
    // search` arguments once openbox manages it (0 if none comes); the window
    // active; keys typed into it; an entry chosen from its menu, and keys
    // typed into the submenu the entry opens.
    qulonglong waitForManagedWindow(qint64 pid, const QStringList &search) const;
    bool activate(qulonglong window) const;
    bool keys(qulonglong window, const QStringList &names) const;
    bool menu(qulonglong window, const QString &entry, const QStringList &inSubmenu = {}) const;
    // The visible windows of one process (its main window, dialogs, open menus).
    QList<qulonglong> windowsOf(qint64 pid) const;
    // One property of a window as xprop prints it.
    QString property(qulonglong window, const QString &name) const;
    // The client area in root coordinates, and the frame extents l, r, t, b.
    QRect clientRect(qulonglong window) const;
    QList<int> frameExtents(qulonglong window) const;
    QImage screenshot() const;

private:
    // Runs one of the script's functions on the display: whether it succeeded.
    bool script(const QStringList &arguments, QString *output = nullptr) const;
    // The windows `xdotool search` finds with these arguments.
    QList<qulonglong> search(const QStringList &arguments) const;

    QString m_display;
    std::unique_ptr<QProcess> m_session;
    std::vector<std::unique_ptr<QProcess>> m_clients;
};
