#pragma once

#include "model/clocksettings.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <optional>

namespace lumitakt {

// The user's choices kept between runs in "Lumitakt.ini": five values, one
// per line, in the 8-bit code page Windows-1252, every line ending in CR LF.
//   1 colour scheme name    2 window left (twips)    3 window top (twips)
//   4 time server name      5 signalling mode
struct SettingsRecord {
    QString look;
    std::int32_t left = 0;
    std::int32_t top = 0;
    QString timeServer;
    std::int16_t signalMode = kSignalOnce;

    bool operator==(const SettingsRecord &) const = default;
};

// What a read delivered: each value only if it could be read.
struct SettingsRead {
    std::optional<QString> look;
    std::optional<std::int32_t> left;
    std::optional<std::int32_t> top;
    std::optional<QString> timeServer;
    std::optional<std::int16_t> signalMode;

    // Applies what was read; everything else keeps its value.
    void applyTo(SettingsRecord &settings) const;
};

// Nothing beyond this many bytes of the file is read: the five values of a
// real file take a few dozen, and a huge or endless file must neither slow
// the start nor fill the memory.
inline constexpr qint64 kMaxSettingsBytes = 64 * 1024;

// The reader: values are read one after the other, each by itself, so a
// damaged value or an early end leaves only that value and those after it
// unread.
SettingsRead parseSettings(QByteArrayView bytes);
// Nothing is read from a file that is no regular file or that is reached
// through a link another user could have made: `why` then says why.
SettingsRead readSettingsFile(const QString &path, QString *why = nullptr);

// The writer. Text values are written as they are, in double quotes only
// where the reader would otherwise not give them back unchanged.
QByteArray formatSettings(const SettingsRecord &settings);
// Writes through a temporary file that replaces the old one only once it is
// complete, so a failure never leaves a damaged file. False if not written,
// and never written where settingsWriteRefusal refuses.
bool writeSettingsFile(const QString &path, const SettingsRecord &settings);

// Why this process must not write the settings file at `path`, or an empty
// text where it may. Root runs with a user's HOME too (sudo -E): the file
// is written only as a regular file (never through a symbolic link) owned
// by the user the program runs as, in a folder of that user's that no one
// else can change, reached without a link another user could have made; a
// missing folder only where the nearest existing one is such, and that this
// process can write (see writeRefusal). Windows checks only the last: its
// own access rules decide the rest.
QString settingsWriteRefusal(const QString &path);

} // namespace lumitakt
