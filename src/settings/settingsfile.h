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
// The reader and writer take the settings of ClockSettings, with the place
// in twips, as the file holds it.

// The place as a file gave it, in twips: each of its two values only if it
// could be read.
struct PlaceRead {
    std::optional<std::int32_t> left;
    std::optional<std::int32_t> top;
    bool operator==(const PlaceRead &) const = default;
};

// How the reader holds a setting: only if it could be read.
template <typename T>
struct ReadField {
    using Type = std::optional<T>;
};
template <>
struct ReadField<QPoint> {
    using Type = PlaceRead;
};
template <typename T>
using SettingRead = typename ReadField<T>::Type;

// What a read delivered: each value only if it could be read.
using SettingsRead = SettingsOf<SettingRead>;

// Applies what was read to `settings` (the place in twips); everything else
// keeps its value.
void applyRead(const SettingsRead &read, ClockSettings &settings);

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

// The writer, the place in twips. Text values are written as they are, in
// double quotes only where the reader would otherwise not give them back
// unchanged.
QByteArray formatSettings(const ClockSettings &settings);
// Whether the writer makes the file's folder where it is missing (only for
// this user, as makeFolder does).
enum class Folder { MustExist, MadeIfMissing };
// Writes through a temporary file that replaces the old one only once it is
// complete, so a failure never leaves a damaged file. False if not written,
// with the reason in `why`. Never written where settingsWriteRefusal
// refuses: asked here, once per write, so callers need not ask first.
bool writeSettingsFile(const QString &path, const ClockSettings &settings, Folder folder = Folder::MustExist,
                       QString *why = nullptr);

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
