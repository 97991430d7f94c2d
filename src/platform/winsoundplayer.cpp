#include "platform/winsoundplayer.h"

#include "logging.h"

#include <QDir>
#include <QFileInfo>

#include <qt_windows.h>
#include <mmsystem.h>

namespace lumitakt {

void WinSoundPlayer::play(const QString &file)
{
    // Without SND_NODEFAULT a file that cannot be played would give the
    // system's default sound; the bell, and a line in the log, say more.
    const std::wstring path = QDir::toNativeSeparators(file).toStdWString();
    if (QFileInfo(file).isFile() && PlaySoundW(path.c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT))
        return;
    qCWarning(lcSound).noquote() << "The alarm sound" << file << "cannot be played; the bell rings instead.";
    m_bell();
}

} // namespace lumitakt
