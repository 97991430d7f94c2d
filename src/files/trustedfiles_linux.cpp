#include "files/trustedfiles.h"

#include "logging.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <deque>
#include <map>
#include <vector>

extern char **environ;

namespace lumitakt {

namespace {

// A file descriptor that closes itself.
class Fd {
public:
    Fd() = default;
    explicit Fd(int fd) : m_fd(fd) {}
    Fd(Fd &&other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    Fd &operator=(Fd &&other) noexcept
    {
        if (this != &other) {
            reset();
            m_fd = std::exchange(other.m_fd, -1);
        }
        return *this;
    }
    ~Fd() { reset(); }
    int get() const { return m_fd; }
    int release() { return std::exchange(m_fd, -1); }
    explicit operator bool() const { return m_fd >= 0; }
    void reset()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd = -1;
};

QString shown(const QByteArray &path)
{
    return QFile::decodeName(path);
}

QByteArray joined(const QByteArray &folder, const QByteArray &name)
{
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

// A group that only its owner is in: named after the owner, with no other
// members, neither listed nor having it as their primary group. Asked of
// the user database once per group and owner.
bool privateGroupOf(gid_t gid, uid_t owner)
{
    static std::map<std::pair<gid_t, uid_t>, bool> known;
    if (const auto it = known.find({gid, owner}); it != known.end())
        return it->second;
    const auto decide = [&] {
        std::vector<char> groupBuffer(16384);
        std::vector<char> userBuffer(16384);
        struct group group {};
        struct group *foundGroup = nullptr;
        struct passwd user {};
        struct passwd *foundUser = nullptr;
        if (::getgrgid_r(gid, &group, groupBuffer.data(), groupBuffer.size(), &foundGroup) != 0 || !foundGroup)
            return false;
        if (::getpwuid_r(owner, &user, userBuffer.data(), userBuffer.size(), &foundUser) != 0 || !foundUser)
            return false;
        if (std::strcmp(foundUser->pw_name, foundGroup->gr_name) != 0)
            return false;
        for (char **member = foundGroup->gr_mem; member && *member; ++member)
            if (std::strcmp(*member, foundUser->pw_name) != 0)
                return false;
        bool alone = true;
        ::setpwent();
        while (const struct passwd *other = ::getpwent())
            if (other->pw_gid == gid && other->pw_uid != owner)
                alone = false;
        ::endpwent();
        return alone;
    };
    return known[{gid, owner}] = decide();
}

// Whether an access control list lets anyone besides the owner write the
// entry open at `fd`: a named user or group whose entry, and the mask,
// allow writing. (Read through /proc, since an O_PATH descriptor has no
// extended attributes of its own.)
bool aclLetsOthersWrite(int fd)
{
    char buffer[4096];
    const QByteArray path = "/proc/self/fd/" + QByteArray::number(fd);
    const ssize_t size = ::getxattr(path.constData(), "system.posix_acl_access", buffer, sizeof buffer);
    if (size < 4)
        return false;
    struct Entry {
        std::uint16_t tag;
        std::uint16_t permissions;
        std::uint32_t id;
    };
    constexpr std::uint16_t kUser = 0x02, kGroup = 0x08, kMask = 0x10, kWrite = 0x02;
    bool named = false;
    bool mask = true;
    constexpr auto kEntrySize = static_cast<ssize_t>(sizeof(Entry));
    for (ssize_t at = 4; at + kEntrySize <= size; at += kEntrySize) {
        Entry entry {};
        std::memcpy(&entry, buffer + at, sizeof entry);
        if ((entry.tag == kUser || entry.tag == kGroup) && (entry.permissions & kWrite))
            named = true;
        if (entry.tag == kMask)
            mask = entry.permissions & kWrite;
    }
    return named && mask;
}

bool trustedOwner(uid_t uid)
{
    return uid == 0 || uid == ::geteuid();
}

// Whether anyone besides the owner may write the entry open at `fd`.
bool othersMayWrite(const struct stat &info, int fd)
{
    if (info.st_mode & S_IWOTH)
        return true;
    // With an access control list the group bits are its mask.
    if (fd >= 0 && aclLetsOthersWrite(fd))
        return true;
    return (info.st_mode & S_IWGRP) && !privateGroupOf(info.st_gid, info.st_uid);
}

// Why the entry open at `fd` (as `path`) is not trusted by itself, or an empty text.
QString distrust(const struct stat &info, const QByteArray &path, int fd)
{
    if (!trustedOwner(info.st_uid))
        return QStringLiteral("%1 belongs to another user (uid %2)").arg(shown(path)).arg(info.st_uid);
    if (othersMayWrite(info, fd) && !(S_ISDIR(info.st_mode) && (info.st_mode & S_ISVTX)))
        return QStringLiteral("other users can change %1").arg(shown(path));
    return {};
}

QString kindOf(mode_t mode)
{
    if (S_ISLNK(mode))
        return QStringLiteral("a symbolic link");
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    if (S_ISFIFO(mode))
        return QStringLiteral("a named pipe (FIFO)");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("a device");
    return QStringLiteral("a regular file");
}

// The way to a path, walked from "/" one part at a time without resolving
// anything first: each part is opened without following it, looked at on
// the opened part, and a link is followed only where it may be.
struct Walk {
    Fd folder;                 // the folder that holds the last part
    QByteArray folderPath;     // its path as walked, links followed
    struct stat folderInfo {};
    QByteArray name;           // the last part; empty where the path is a folder
    QString untrusted;         // why the folder is not trusted (itself or one above it)
    QString error;             // why the way ends before the folder; empty if it does not
    bool absent = false;       // it ends since a folder on the way is not there
    bool missing = false;      // the folder is the nearest that exists: the rest is missing

    QByteArray path() const { return name.isEmpty() ? folderPath : joined(folderPath, name); }
};

struct WalkOptions {
    bool followLastLink = false; // a link as the last part is followed (where it may be)
    bool isFolder = false;       // every part is a folder; the walk ends in the last
    bool stopAtMissing = false;  // a missing folder ends the walk at the nearest that exists
    bool makeMissing = false;    // a missing folder is made, for this user only
};

Walk walk(const QString &path, WalkOptions options)
{
    Walk result;
    const QByteArray encoded = QFile::encodeName(path);
    if (!encoded.startsWith('/')) {
        result.error = QStringLiteral("%1 is no absolute path").arg(path);
        return result;
    }
    struct Level {
        Fd fd;
        QByteArray path;
        struct stat info;
        QString untrusted;
    };
    std::vector<Level> levels;
    {
        Fd root(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
        struct stat info {};
        if (!root || ::fstat(root.get(), &info) != 0) {
            result.error = QStringLiteral("/ cannot be looked at");
            return result;
        }
        const QString untrusted = distrust(info, "/", root.get());
        levels.push_back({std::move(root), QByteArray("/"), info, untrusted});
    }
    std::deque<QByteArray> parts;
    for (const QByteArray &part : encoded.split('/'))
        if (!part.isEmpty())
            parts.push_back(part);
    int links = 0;
    const auto finish = [&](QByteArray name) {
        Level &here = levels.back();
        result.folder = std::move(here.fd);
        result.folderPath = here.path;
        result.folderInfo = here.info;
        result.untrusted = here.untrusted;
        result.name = std::move(name);
        return std::move(result);
    };
    while (!parts.empty()) {
        const QByteArray part = parts.front();
        parts.pop_front();
        const bool last = parts.empty() && !options.isFolder;
        if (part == ".")
            continue;
        if (part == "..") {
            if (levels.size() > 1)
                levels.pop_back();
            continue;
        }
        Level &here = levels.back();
        const QByteArray partPath = joined(here.path, part);
        Fd entry(::openat(here.fd.get(), part.constData(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
        if (!entry && errno == ENOENT) {
            if (last)
                return finish(part);
            if (options.makeMissing && here.untrusted.isEmpty() && here.info.st_uid == ::geteuid()
                && (::mkdirat(here.fd.get(), part.constData(), 0700) == 0 || errno == EEXIST)) {
                entry = Fd(::openat(here.fd.get(), part.constData(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
            } else if (options.stopAtMissing) {
                result.missing = true;
                return finish(part);
            } else {
                result.error = QStringLiteral("%1 is not there").arg(shown(partPath));
                result.absent = true;
                return result;
            }
        }
        struct stat info {};
        if (!entry || ::fstat(entry.get(), &info) != 0) {
            result.error = QStringLiteral("%1 cannot be looked at (%2)").arg(shown(partPath), QString::fromLocal8Bit(std::strerror(errno)));
            return result;
        }
        if (S_ISLNK(info.st_mode)) {
            if (last && !options.followLastLink)
                return finish(part);
            if (!here.untrusted.isEmpty() || !trustedOwner(info.st_uid)) {
                result.error = QStringLiteral("%1 is a symbolic link that another user could have made, and is not followed").arg(shown(partPath));
                return result;
            }
            char target[PATH_MAX];
            const ssize_t length = ::readlinkat(entry.get(), "", target, sizeof target);
            if (length <= 0 || length == sizeof target || ++links > 40) {
                result.error = QStringLiteral("%1 cannot be followed").arg(shown(partPath));
                return result;
            }
            const QByteArray to(target, static_cast<qsizetype>(length));
            const QList<QByteArray> toParts = to.split('/');
            for (auto it = toParts.crbegin(); it != toParts.crend(); ++it)
                if (!it->isEmpty())
                    parts.push_front(*it);
            if (to.startsWith('/'))
                levels.erase(levels.begin() + 1, levels.end());
            continue;
        }
        if (last)
            return finish(part);
        if (!S_ISDIR(info.st_mode)) {
            result.error = QStringLiteral("%1 is no folder").arg(shown(partPath));
            return result;
        }
        // A folder the walk only passes through needs no more than O_PATH.
        QString untrusted = here.untrusted.isEmpty() ? distrust(info, partPath, entry.get()) : here.untrusted;
        levels.push_back({std::move(entry), partPath, info, std::move(untrusted)});
    }
    return finish({});
}

// The entry at the end of a walk, not followed; false where there is none.
bool lookAt(const Walk &way, struct stat *info)
{
    if (way.name.isEmpty()) {
        *info = way.folderInfo;
        return true;
    }
    return ::fstatat(way.folder.get(), way.name.constData(), info, AT_SYMLINK_NOFOLLOW) == 0;
}

} // namespace

QString untrustedBecause(const QString &path)
{
    const Walk way = walk(path, {.followLastLink = true});
    if (!way.error.isEmpty())
        return way.error;
    if (!way.untrusted.isEmpty())
        return way.untrusted;
    if (way.name.isEmpty())
        return distrust(way.folderInfo, way.path(), way.folder.get());
    const Fd entry(::openat(way.folder.get(), way.name.constData(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    struct stat info {};
    if (!entry || ::fstat(entry.get(), &info) != 0)
        return QStringLiteral("%1 is not there").arg(shown(way.path()));
    return distrust(info, way.path(), entry.get());
}

int openForReading(const QString &path, Reading reading, QString *why)
{
    const auto refuse = [why](const QString &reason) {
        if (why)
            *why = reason;
        return -1;
    };
    // A file that is not there is no refusal: `why` stays empty.
    const Walk way = walk(path, {.followLastLink = true});
    if (way.absent)
        return -1;
    if (!way.error.isEmpty())
        return refuse(way.error);
    if (reading == Reading::Trusted && !way.untrusted.isEmpty())
        return refuse(way.untrusted);
    // Looked at before it is opened: opening a device can do something.
    struct stat info {};
    if (!lookAt(way, &info))
        return -1;
    if (!S_ISREG(info.st_mode))
        return refuse(QStringLiteral("%1 is %2, not a regular file").arg(shown(way.path()), kindOf(info.st_mode)));
    // Without O_NONBLOCK, opening a pipe swapped in since would wait for a writer.
    Fd fd(::openat(way.folder.get(), way.name.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY));
    if (!fd || ::fstat(fd.get(), &info) != 0)
        return refuse(QStringLiteral("%1 cannot be opened (%2)").arg(shown(way.path()), QString::fromLocal8Bit(std::strerror(errno))));
    if (!S_ISREG(info.st_mode))
        return refuse(QStringLiteral("%1 is %2, not a regular file").arg(shown(way.path()), kindOf(info.st_mode)));
    if (reading == Reading::Trusted)
        if (const QString untrusted = distrust(info, way.path(), fd.get()); !untrusted.isEmpty())
            return refuse(untrusted);
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags != -1)
        ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);
    return fd.release();
}

bool openForReading(QFile &file, Reading reading, QString *why)
{
    const int fd = openForReading(file.fileName(), reading, why);
    if (fd < 0)
        return false;
    if (file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return true;
    ::close(fd);
    return false;
}

namespace {

// Why no file may be written into the folder a walk ended in (or the
// nearest that exists), or an empty text.
QString folderRefusal(const Walk &way)
{
    if (!way.error.isEmpty())
        return way.error;
    const QString folder = shown(way.folderPath);
    if (way.folderInfo.st_uid != ::geteuid())
        return QStringLiteral("the folder %1 belongs to another user").arg(folder);
    if (othersMayWrite(way.folderInfo, way.folder.get()))
        return QStringLiteral("other users can write into the folder %1").arg(folder);
    if (!way.untrusted.isEmpty())
        return way.untrusted;
    // The new file is written beside the old one and takes its place: one's
    // own folder may still be read-only (a read-only mount, a folder without w).
    if (::faccessat(AT_FDCWD, way.folderPath.constData(), W_OK, AT_EACCESS) != 0)
        return QStringLiteral("the folder %1 cannot be written").arg(folder);
    return {};
}

} // namespace

QString writeRefusal(const QString &path)
{
    const Walk way = walk(path, {.stopAtMissing = true});
    if (!way.error.isEmpty())
        return way.error;
    struct stat info {};
    if (!way.missing && lookAt(way, &info)) {
        if (S_ISLNK(info.st_mode))
            return QStringLiteral("it is a symbolic link");
        if (!S_ISREG(info.st_mode))
            return QStringLiteral("it is %1, not a regular file").arg(kindOf(info.st_mode));
        if (info.st_uid != ::geteuid())
            return QStringLiteral("it belongs to another user");
    }
    return folderRefusal(way);
}

bool makeFolder(const QString &folder, QString *why)
{
    QString refusal = folderRefusal(walk(folder, {.isFolder = true, .stopAtMissing = true}));
    if (refusal.isEmpty())
        refusal = walk(folder, {.isFolder = true, .makeMissing = true}).error;
    if (why)
        *why = refusal;
    return refusal.isEmpty();
}

bool replaceFile(const QString &path, const QByteArray &bytes)
{
    const Walk way = walk(path, {});
    if (!way.error.isEmpty() || way.name.isEmpty())
        return false;
    // The old file's permissions go over to the new one.
    struct stat old {};
    const bool existed = lookAt(way, &old) && S_ISREG(old.st_mode);
    QByteArray temporary;
    Fd fd;
    for (int attempt = 0; attempt < 8 && !fd; ++attempt) {
        temporary = way.name + ".new" + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        fd = Fd(::openat(way.folder.get(), temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (!fd && errno != EEXIST)
            return false;
    }
    if (!fd)
        return false;
    const auto fail = [&] {
        ::unlinkat(way.folder.get(), temporary.constData(), 0);
        return false;
    };
    // A short write (a full disk, a size limit) shows in what write returns;
    // the old file then stays as it was.
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd.get(), bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return fail();
        done += written;
    }
    // Never writable by others, whatever the old file allowed.
    if (existed)
        ::fchmod(fd.get(), old.st_mode & 0755);
    if (::fdatasync(fd.get()) != 0 || ::close(fd.release()) != 0)
        return fail();
    if (::renameat(way.folder.get(), temporary.constData(), way.folder.get(), way.name.constData()) != 0)
        return fail();
    return true;
}

bool appendToLog(const QString &path, const QByteArray &bytes, qint64 limit)
{
    const Walk way = walk(path, {});
    if (!way.error.isEmpty() || !way.untrusted.isEmpty() || way.name.isEmpty())
        return false;
    Fd fd(::openat(way.folder.get(), way.name.constData(), O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY,
                   0600));
    struct stat info {};
    if (!fd || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid())
        return false;
    if (info.st_size > limit && ::ftruncate(fd.get(), 0) != 0)
        return false;
    return ::write(fd.get(), bytes.constData(), static_cast<size_t>(bytes.size())) == bytes.size();
}

struct FileLock::Handle {
    Fd folder;
    QByteArray name;
    Fd file;
};

FileLock::FileLock(QString path) : m_path(std::move(path)) {}

FileLock::~FileLock()
{
    if (!m_handle || !m_handle->file)
        return;
    // Taken away only while it is still the file this process locked.
    struct stat mine {};
    struct stat there {};
    if (::fstat(m_handle->file.get(), &mine) == 0
        && ::fstatat(m_handle->folder.get(), m_handle->name.constData(), &there, AT_SYMLINK_NOFOLLOW) == 0
        && mine.st_dev == there.st_dev && mine.st_ino == there.st_ino)
        ::unlinkat(m_handle->folder.get(), m_handle->name.constData(), 0);
}

FileLock::State FileLock::take()
{
    const auto refuse = [this](const QString &why) {
        m_why = why;
        return State::Refused;
    };
    Walk way = walk(m_path, {});
    if (!way.error.isEmpty())
        return refuse(way.error);
    if (!way.untrusted.isEmpty() || way.folderInfo.st_uid != ::geteuid() || othersMayWrite(way.folderInfo, way.folder.get()))
        return refuse(QStringLiteral("the folder %1 is not this user's alone").arg(shown(way.folderPath)));
    const QString shownPath = shown(way.path());
    // A lock file removed by the clock that held it while this one opened
    // it is locked in vain: the lock counts only on the file still there.
    for (int attempt = 0; attempt < 5; ++attempt) {
        struct stat info {};
        if (lookAt(way, &info) && !S_ISREG(info.st_mode))
            return refuse(QStringLiteral("the lock %1 is %2, not a regular file").arg(shownPath, kindOf(info.st_mode)));
        Fd fd(::openat(way.folder.get(), way.name.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0600));
        if (!fd)
            return refuse(QStringLiteral("the lock %1 cannot be made (%2)").arg(shownPath, QString::fromLocal8Bit(std::strerror(errno))));
        if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode))
            return refuse(QStringLiteral("the lock %1 is %2, not a regular file").arg(shownPath, kindOf(info.st_mode)));
        if (info.st_uid != ::geteuid())
            return refuse(QStringLiteral("the lock %1 belongs to another user").arg(shownPath));
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK)
                return refuse(QStringLiteral("the lock %1 cannot be taken (%2)").arg(shownPath, QString::fromLocal8Bit(std::strerror(errno))));
            char text[128] = {};
            const ssize_t length = ::pread(fd.get(), text, sizeof text - 1, 0);
            QString holder;
            for (ssize_t i = 0; i < length && text[i] != '\n'; ++i)
                if (text[i] >= ' ' && text[i] < 127)
                    holder += QLatin1Char(text[i]);
            m_holder = holder.isEmpty() ? QStringLiteral("another clock") : QStringLiteral("the clock ") + holder;
            return State::HeldByAnother;
        }
        struct stat there {};
        if (!lookAt(way, &there) || there.st_dev != info.st_dev || there.st_ino != info.st_ino)
            continue;
        // Who holds it, for a start that finds it held; where that cannot be
        // written (a full disk), the lock holds all the same.
        char host[256] = {};
        ::gethostname(host, sizeof host - 1);
        const QByteArray who = QByteArray::number(::getpid()) + " on " + host + '\n';
        if (::ftruncate(fd.get(), 0) == 0)
            [[maybe_unused]] const ssize_t written = ::pwrite(fd.get(), who.constData(), static_cast<size_t>(who.size()), 0);
        m_handle = std::make_unique<Handle>(Handle{std::move(way.folder), way.name, std::move(fd)});
        return State::Held;
    }
    return refuse(QStringLiteral("the lock %1 keeps being replaced").arg(shownPath));
}

bool makeRequestFile(const QString &path, QString *said)
{
    const auto say = [said](const QString &text) {
        if (said)
            *said = text;
    };
    const Walk way = walk(path, {});
    if (!way.error.isEmpty() || way.name.isEmpty()) {
        say(way.error);
        return false;
    }
    const QString shownPath = shown(way.path());
    struct stat info {};
    if (lookAt(way, &info)) {
        if (S_ISREG(info.st_mode))
            return true; // asked already
        if (S_ISDIR(info.st_mode)) {
            say(QStringLiteral("%1 is a folder, so the running clock cannot be asked to show itself").arg(shownPath));
            return false;
        }
        // A link or a pipe in the user's own folder is taken away, never
        // followed or opened.
        if (::unlinkat(way.folder.get(), way.name.constData(), 0) != 0) {
            say(QStringLiteral("%1 is %2 that cannot be removed").arg(shownPath, kindOf(info.st_mode)));
            return false;
        }
        say(QStringLiteral("%1 was %2, not a request, and is removed").arg(shownPath, kindOf(info.st_mode)));
    }
    Fd fd(::openat(way.folder.get(), way.name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY,
                   0600));
    if (fd)
        return true;
    return errno == EEXIST && lookAt(way, &info) && S_ISREG(info.st_mode);
}

bool requestFileThere(const QString &path)
{
    const Walk way = walk(path, {});
    struct stat info {};
    return way.error.isEmpty() && !way.name.isEmpty() && lookAt(way, &info);
}

bool takeRequestFile(const QString &path)
{
    const Walk way = walk(path, {});
    struct stat info {};
    if (!way.error.isEmpty() || way.name.isEmpty() || !lookAt(way, &info) || S_ISDIR(info.st_mode))
        return false;
    return ::unlinkat(way.folder.get(), way.name.constData(), 0) == 0 && S_ISREG(info.st_mode);
}

bool startProgram(const QString &program, const QStringList &arguments, StartOptions options, std::function<void(int exitCode)> finished)
{
    const auto refuse = [&](const QString &why) {
        qCWarning(lcCommands).noquote() << "could not start" << program << "-" << why;
        if (finished)
            finished(-1);
        return false;
    };
    const Walk way = walk(program, {.followLastLink = true});
    if (!way.error.isEmpty())
        return refuse(way.error);
    if (!way.untrusted.isEmpty())
        return refuse(way.untrusted);
    // Opened without following a link and checked on the opened file, which
    // is what runs: nothing put in its place afterwards can be started.
    Fd fd(::openat(way.folder.get(), way.name.constData(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    struct stat info {};
    if (!fd || ::fstat(fd.get(), &info) != 0)
        return refuse(QStringLiteral("%1 is not there").arg(shown(way.path())));
    if (!S_ISREG(info.st_mode) || !(info.st_mode & S_IXUSR))
        return refuse(QStringLiteral("%1 is no program").arg(shown(way.path())));
    if (const QString untrusted = distrust(info, way.path(), fd.get()); !untrusted.isEmpty())
        return refuse(untrusted);

    // The argument list is made before the fork: the child only reads it.
    struct Arguments {
        std::vector<QByteArray> texts;
        std::vector<char *> pointers;
    };
    auto argv = std::make_shared<Arguments>();
    argv->texts.push_back(QFile::encodeName(program));
    for (const QString &argument : arguments)
        argv->texts.push_back(QFile::encodeName(argument));
    for (QByteArray &text : argv->texts)
        argv->pointers.push_back(text.data());
    argv->pointers.push_back(nullptr);

    auto *process = new QProcess;
    process->setProgram(program);
    process->setArguments(arguments);
    process->setStandardOutputFile(QProcess::nullDevice());
    if (options.forwardErrors)
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    else
        process->setStandardErrorFile(QProcess::nullDevice());
    const int programFd = fd.get();
    process->setChildProcessModifier([programFd, argv] {
        ::fexecve(programFd, argv->pointers.data(), environ);
        // A script's interpreter reads it through the descriptor, which must
        // then stay open across the exec; a compiled program gets none.
        if (errno == ENOENT && ::fcntl(programFd, F_SETFD, 0) == 0)
            ::fexecve(programFd, argv->pointers.data(), environ);
        ::_exit(127);
    });
    collectWhenFinished(process, std::move(finished));
    process->start();
    return true;
}

} // namespace lumitakt
