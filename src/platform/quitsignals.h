#pragma once

#include <QObject>

class QSocketNotifier;

namespace lumitakt {

// Turns the signals with which a desktop session or a terminal ends a
// program (SIGTERM at logout and shutdown, SIGHUP when the terminal goes,
// SIGINT from Ctrl+C) into a signal of the event loop, so that the program
// ends the way its close button ends it. The handler only writes one byte to
// a pipe; everything else happens in the event loop. One instance per
// program; elsewhere than on Unix it does nothing.
class QuitSignals final : public QObject {
    Q_OBJECT
public:
    // First thing in main: until a QuitSignals catches them, the signals end
    // the program at once, as the system's default does. Before the event
    // loop runs there is nothing to save, and a start that hangs (a display
    // that does not answer, a file system that does not) must still end
    // with the session; a disposition the program was started with (nohup's
    // ignored SIGHUP, a blocked mask) does not keep it running.
    static void endAtOnceUntilCaught();

    explicit QuitSignals(QObject *parent = nullptr);
    ~QuitSignals() override;

    QuitSignals(const QuitSignals &) = delete;
    QuitSignals &operator=(const QuitSignals &) = delete;

Q_SIGNALS:
    void quitRequested();

private:
    void readPipe();

    QSocketNotifier *m_notifier = nullptr;
};

} // namespace lumitakt
