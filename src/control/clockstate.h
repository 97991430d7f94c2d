#pragma once

#include "model/digits.h"
#include "model/stopwatch.h"

#include <QString>

namespace lumitakt {

// Everything the clock window shows, made by the controller: the window
// shows it as it stands and decides nothing of it.
struct ClockState {
    // The face, made anew by every tick. Before the first tick no digit is
    // shown (-1) and the caption and spoken name are empty: the window keeps
    // what it starts with.
    TimeDigits digits{-1, -1, -1, -1};
    bool colonShown = true;
    QString caption;
    QString spokenName; // what a screen reader says for the clock

    // The row of labels under the digits; the window is tall while it shows.
    bool tall = false;
    QString appointmentText;
    bool appointmentShown = false;
    QString stopwatchText;
    bool stopwatchShown = false;
    QString labelsDescription; // the labels in words, for a screen reader

    QString look; // the look's name as the settings hold it; none before the window is first shown

    // The menu's items whose state changes.
    struct Commands {
        bool startStopwatch = true;
        bool haltStopwatch = false;
        bool clearStopwatch = false;
        Stopwatch::HaltItem haltItem = Stopwatch::HaltItem::AsAtStart;
        bool setClock = true;

        bool operator==(const Commands &) const = default;
    };
    Commands commands;
};

} // namespace lumitakt
