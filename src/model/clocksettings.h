#pragma once

#include <QPoint>
#include <QString>

#include <cstdint>

namespace lumitakt {

// What the user chooses and the program keeps between runs.
struct ClockSettings {
    QString look = QStringLiteral("rot"); // the look's name as the file holds it
    QPoint place;                         // the window's top left corner, pixels
    QString timeServer;                   // empty: none
    std::int16_t signalMode = 1;          // 1: the alarm sounds once; any other: on every tick

    bool operator==(const ClockSettings &) const = default;
};

} // namespace lumitakt
