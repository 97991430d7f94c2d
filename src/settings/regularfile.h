#pragma once

#include <QFile>

namespace lumitakt {

// Opens `file` for reading only when it is a regular file, and never waits
// for it: a pipe or a device in its place is refused, even one swapped in
// after a look at the path, since the check is made on the opened file.
// (One file per system: regularfile_unix.cpp, regularfile_windows.cpp.)
bool openRegularFile(QFile &file);

// The same as a file descriptor for libraries that take one (-1 when
// refused); the caller closes it. Unix only.
int openRegularFileDescriptor(const QString &path);

} // namespace lumitakt
