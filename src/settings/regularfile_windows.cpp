#include "settings/regularfile.h"

#include <QFileInfo>

namespace lumitakt {

// Windows has no pipes or devices among a folder's files.
bool openRegularFile(QFile &file)
{
    return QFileInfo(file.fileName()).isFile() && file.open(QIODevice::ReadOnly);
}

} // namespace lumitakt
