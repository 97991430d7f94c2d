#include "settings/settingskeeper.h"

#include <QDir>
#include <QFileInfo>

namespace lumitakt {

SettingsKeeper::SettingsKeeper(QString path, const Settings &onFile)
    : m_path(std::move(path)), m_saved(onFile), m_seenLeft(onFile.left), m_seenTop(onFile.top)
{
}

void SettingsKeeper::tick(const Settings &now)
{
    if (now.left != m_seenLeft || now.top != m_seenTop) {
        m_seenLeft = now.left;
        m_seenTop = now.top;
        m_steadyTicks = 0;
    } else if (m_steadyTicks < kPlaceSettleTicks) {
        ++m_steadyTicks;
    }
    if (now == m_saved)
        return;
    const bool placeOnly = now.FarbSchema == m_saved.FarbSchema && now.Zeitserver == m_saved.Zeitserver
                           && now.SignalModus == m_saved.SignalModus;
    if (placeOnly && m_steadyTicks < kPlaceSettleTicks)
        return;
    write(now);
}

void SettingsKeeper::saveChanges(const Settings &now)
{
    if (now != m_saved)
        write(now);
}

bool SettingsKeeper::write(const Settings &now)
{
    // Whether or not it works, this is what the program last tried to keep:
    // a file that cannot be written is tried again at the next change, not
    // on every tick.
    m_saved = now;
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    return writeSettingsFile(m_path, now);
}

} // namespace lumitakt
