#include "settings/regularfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumitakt {

int openRegularFileDescriptor(const QString &path)
{
    // Without O_NONBLOCK, opening a pipe waits for a writer: for ever.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return -1;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return -1;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags != -1)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

bool openRegularFile(QFile &file)
{
    const int fd = openRegularFileDescriptor(file.fileName());
    if (fd < 0)
        return false;
    if (file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return true;
    ::close(fd);
    return false;
}

} // namespace lumitakt
