#include "support/testsystem.h"
#include "support/stuckpipe.h"

#include <QFile>

#include <chrono>
#include <csignal>
#include <cstdint>

#include <grp.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace lumitakt::test {

QStringList setClockCommand(const QString &helperFolder, const QString &server)
{
    return {helperFolder + QStringLiteral("/lumitakt-sync"), server};
}

QStringList makeFolderCommand(const QString &folder)
{
    return {QStringLiteral("/bin/mkdir"), folder};
}

QString noOwnHelper()
{
    return {};
}

bool giveToAnotherUser(const QString &path)
{
    constexpr uid_t kNobody = 65534;
    return ::geteuid() == 0 && ::lchown(QFile::encodeName(path).constData(), kNobody, kNobody) == 0;
}

bool letAnotherUserWrite(const QString &path)
{
    // The access list as the kernel keeps it: a version, then entries of a
    // tag, the rights and an id (the owner, user 65534, the group, the mask,
    // everyone else).
    struct Entry {
        std::uint16_t tag;
        std::uint16_t permissions;
        std::uint32_t id;
    };
    const std::uint32_t version = 2;
    const Entry entries[] = {{0x01, 7, 0xffffffff}, {0x02, 7, 65534}, {0x04, 5, 0xffffffff}, {0x10, 7, 0xffffffff}, {0x20, 5, 0xffffffff}};
    QByteArray list(reinterpret_cast<const char *>(&version), sizeof version);
    list.append(reinterpret_cast<const char *>(entries), sizeof entries);
    return ::setxattr(QFile::encodeName(path).constData(), "system.posix_acl_access", list.constData(), static_cast<size_t>(list.size()), 0) == 0;
}

bool makeNamedPipe(const QString &path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

std::optional<bool> inSharedGroupFolder(const QString &path, const std::function<bool()> &check)
{
    const struct group *users = ::getgrnam("users");
    const QByteArray folder = QFile::encodeName(path);
    if (::geteuid() != 0 || !users || ::chown(folder.constData(), 0, users->gr_gid) != 0 || ::chmod(folder.constData(), 0770) != 0)
        return std::nullopt;
    const gid_t own = ::getegid();
    if (::setegid(users->gr_gid) != 0)
        return std::nullopt;
    const bool result = check();
    [[maybe_unused]] const int back = ::setegid(own);
    return result;
}

bool makeSymbolicLink(const QString &target, const QString &link)
{
    return QFile::link(target, link);
}

std::optional<bool> writeOnFullDisk(const std::function<bool()> &write)
{
    // A file size limit of nothing makes every write fail, as a full disk
    // would (an empty file can still be made); the signal it raises is
    // ignored, so the write fails as a write.
    struct rlimit saved {};
    if (getrlimit(RLIMIT_FSIZE, &saved) != 0)
        return std::nullopt;
    const auto previousSignal = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit tiny = saved;
    tiny.rlim_cur = 0;
    setrlimit(RLIMIT_FSIZE, &tiny);
    const bool written = write();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousSignal);
    return written;
}

bool holdOpenFor(const QString &, int)
{
    return false;
}

StuckPipe::StuckPipe(const QString &path) : m_path(QFile::encodeName(path))
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

StuckPipe::~StuckPipe()
{
    m_done = true;
    m_watchdog.join();
}

} // namespace lumitakt::test
