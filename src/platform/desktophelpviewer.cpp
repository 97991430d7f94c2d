#include "platform/desktophelpviewer.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace lumitakt {

void DesktopHelpViewer::open(const QString &file)
{
    if (QFileInfo(file).isFile())
        QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

} // namespace lumitakt
