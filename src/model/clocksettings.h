#pragma once

#include <QPoint>
#include <QString>

#include <cstdint>

namespace lumitakt {

// How the alarm sounds, as the settings file holds it: once, or again on
// every tick (so does any number other than these two that a file holds).
constexpr std::int16_t kSignalRepeat = 0;
constexpr std::int16_t kSignalOnce = 1;

// What the user chooses and the program keeps between runs.
struct ClockSettings {
    QString look = QStringLiteral("rot"); // the look's name as the file holds it
    QPoint place;                         // the window's top left corner, pixels
    QString timeServer;                   // empty: none
    std::int16_t signalMode = kSignalOnce;

    bool operator==(const ClockSettings &) const = default;
};

} // namespace lumitakt
