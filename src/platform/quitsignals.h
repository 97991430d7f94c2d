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
    // First thing in main: the signals wait until a QuitSignals catches
    // them, so that a session that ends while the program is still starting
    // ends it as cleanly as later, not half-way through its start.
    static void holdUntilCaught();

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
