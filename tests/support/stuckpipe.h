#pragma once

#include <QFile>
#include <QString>

#include <atomic>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumitakt::test {

// A named pipe that nobody writes to: opening it to read waits for ever.
// A watchdog frees whoever is stuck in such an open after two seconds (by
// opening the other end, which only succeeds while a reader waits) and
// counts it, so that a test fails instead of hanging.
class StuckPipe {
public:
    explicit StuckPipe(const QString &path) : m_path(QFile::encodeName(path))
    {
        m_made = ::mkfifo(m_path.constData(), 0600) == 0;
        m_watchdog = std::thread([this] {
            using namespace std::chrono_literals;
            for (int i = 0; !m_done; ++i) {
                std::this_thread::sleep_for(50ms);
                if (i < 40)
                    continue;
                const int fd = ::open(m_path.constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) {
                    ++m_freed;
                    ::close(fd);
                }
            }
        });
    }
    ~StuckPipe()
    {
        m_done = true;
        m_watchdog.join();
    }
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
