#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <thread>

namespace lumitakt::test {

// A named pipe that nobody writes to: opening it to read waits for ever.
// A watchdog frees whoever is stuck in such an open after two seconds (by
// opening the other end, which only succeeds while a reader waits) and
// counts it, so that a test fails instead of hanging. Where the system has
// no named pipes among its files (Windows), none is made (made() is false).
// (testsystem_linux.cpp, testsystem_windows.cpp.)
class StuckPipe {
public:
    explicit StuckPipe(const QString &path);
    ~StuckPipe();
    StuckPipe(const StuckPipe &) = delete;
    StuckPipe &operator=(const StuckPipe &) = delete;

    bool made() const { return m_made; }
    // How often someone was stuck opening the pipe.
    int freed() const { return m_freed; }

private:
    QByteArray m_path;
    bool m_made = false;
    std::atomic<bool> m_done{false};
    std::atomic<int> m_freed{0};
    std::thread m_watchdog;
};

} // namespace lumitakt::test
