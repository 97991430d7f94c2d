#include "settings/settingskeeper.h"

#include "files/trustedfiles.h"
#include "logging.h"
#include "settings/placement.h"

namespace lumitakt {

namespace {

QRect inTwips(const QRect &pixels)
{
    return {pixels.topLeft() * kTwipsPerPixel, pixels.size() * kTwipsPerPixel};
}

} // namespace

SettingsKeeper::SettingsKeeper(QString path, const QList<QRect> &screens, QSize windowSize, QString writeRefusal)
    : m_path(std::move(path))
{
    // The defaults, with whatever the file gives over them; its place in twips.
    ClockSettings record;
    if (m_path.isEmpty())
        qCWarning(lcSettings) << "There is no folder for the settings (HOME unset or relative, or XDG_CONFIG_HOME"
                              << "relative): the clock starts on its defaults and keeps changes in memory only.";
    QString unread;
    if (!m_path.isEmpty()) {
        SettingsRead read = readSettingsFile(m_path, &unread);
        // The server is what the clock is set from, as root where root runs
        // it: it is taken only from a file no one else could have written
        // (not from the user's file that root reads with the user's HOME, nor
        // from a folder a shared group can change).
        if (read.timeServer && !read.timeServer->trimmed().isEmpty()) {
            if (const QString why = untrustedBecause(m_path); !why.isEmpty()) {
                qCWarning(lcSettings).noquote() << "The time server named in" << m_path << "is not used, since" << why;
                read.timeServer.reset();
            }
        }
        applyRead(read, record);
    }
    // A file this process must not write (root with a user's HOME, say) is
    // read, and left as it is.
    if (!m_path.isEmpty() && writeRefusal.isEmpty())
        writeRefusal = settingsWriteRefusal(m_path);
    m_readOnly = !m_path.isEmpty() && !writeRefusal.isEmpty();
    if (!unread.isEmpty())
        qCWarning(lcSettings).noquote().nospace() << "The settings are not read from " << m_path
                                                  << (m_readOnly ? " nor written there," : "") << " since " << unread;
    else if (m_readOnly)
        qCWarning(lcSettings).noquote() << "The settings are read from" << m_path << "but not written there:" << writeRefusal;

    QList<QRect> screensTwips;
    for (const QRect &screen : screens)
        screensTwips.append(inTwips(screen));
    m_savedTwips = keepOnScreens(record.place, screensTwips, windowSize * kTwipsPerPixel);
    m_loaded = record;
    m_loaded.place = QPoint(twipsToPixels(m_savedTwips.x()), twipsToPixels(m_savedTwips.y()));
    m_saved = m_loaded;
    m_seenPlace = m_loaded.place;
}

void SettingsKeeper::tick(const ClockSettings &now)
{
    if (now.place != m_seenPlace) {
        m_seenPlace = now.place;
        m_steadyTicks = 0;
    } else if (m_steadyTicks < kPlaceSettleTicks) {
        ++m_steadyTicks;
    }
    if (now == m_saved)
        return;
    ClockSettings unmoved = now;
    unmoved.place = m_saved.place;
    const bool placeOnly = unmoved == m_saved;
    if (placeOnly && m_steadyTicks < kPlaceSettleTicks)
        return;
    // What could not be written is tried again now and then, not on every
    // tick; a new change is tried at once.
    if (now == m_failed && m_ticksToRetry > 0) {
        --m_ticksToRetry;
        return;
    }
    write(now);
}

void SettingsKeeper::saveChanges(const ClockSettings &now)
{
    if (now != m_saved)
        write(now);
}

bool SettingsKeeper::write(const ClockSettings &now)
{
    const auto twips = [](int pixels, int savedTwips) { return twipsToPixels(savedTwips) == pixels ? savedTwips : pixels * kTwipsPerPixel; };
    const QPoint place = {twips(now.place.x(), m_savedTwips.x()), twips(now.place.y(), m_savedTwips.y())};
    if (m_path.isEmpty() || m_readOnly) {
        // Kept in memory only: there is nothing to try again.
        m_saved = now;
        m_savedTwips = place;
        return false;
    }
    ClockSettings inFile = now;
    inFile.place = place;
    QString why;
    if (writeSettingsFile(m_path, inFile, Folder::MadeIfMissing, &why)) {
        m_saved = now;
        m_savedTwips = place;
        if (m_failed)
            qCInfo(lcSettings).noquote() << "The settings are written to" << m_path << "again.";
        m_failed.reset();
        return true;
    }
    // Counted as saved only once written: the next tries, and the end of the
    // program, try again. Said once while it keeps failing.
    if (!m_failed)
        qCWarning(lcSettings).noquote().nospace() << "could not write the settings to " << m_path << ": " << why;
    m_failed = now;
    m_ticksToRetry = kRetryTicks;
    return false;
}

} // namespace lumitakt
