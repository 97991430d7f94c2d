#include "support/testsystem.h"

#include <QFile>

#include <csignal>

#include <sys/resource.h>
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
    return ::geteuid() == 0 && ::chown(QFile::encodeName(path).constData(), kNobody, kNobody) == 0;
}

bool makeSymbolicLink(const QString &target, const QString &link)
{
    return QFile::link(target, link);
}

std::optional<bool> writeOnFullDisk(const std::function<bool()> &write)
{
    // A file size limit makes every write past a few bytes fail, as a full
    // disk would; the signal it raises is ignored, so the write fails as a write.
    struct rlimit saved {};
    if (getrlimit(RLIMIT_FSIZE, &saved) != 0)
        return std::nullopt;
    const auto previousSignal = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit tiny = saved;
    tiny.rlim_cur = 8;
    setrlimit(RLIMIT_FSIZE, &tiny);
    const bool written = write();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousSignal);
    return written;
}

} // namespace lumitakt::test
