#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace lumitakt {

struct SharedState;

// The stopwatch ("Stopuhr") counts the changes of the clock's minute that it
// sees while it runs, and shows the count as hours and minutes. It measures
// no elapsed time: a jump of the clock, either way, counts as one minute.
//
// States: cleared (not running, not halted), running, halted. The flags live
// in the shared state; the counters here.
class Stopuhr {
public:
    explicit Stopuhr(SharedState &state) : m_state(state) {}

    // Which menu items are enabled, and the halt item's caption if it changes.
    struct Menu {
        bool starten;
        bool anhalten;
        bool loeschen;
        const char16_t *anhaltenCaption; // nullptr: the caption stays
    };

    // At start-up: nothing counted, the current minute seen.
    void reset(int minuteOfDay);

    // Start; the minute changes before now are not counted.
    Menu start(int minuteOfDay);
    // Halt a running stopwatch, or let a halted one continue.
    Menu haltOrContinue();
    // Clear the count; the label text goes back to "00:00".
    Menu clear();

    // One tick. Returns the new label text when a minute was counted.
    std::optional<QString> step(int minuteOfDay);
    // What the tick does with the label afterwards.
    enum class Label { Keep, Toggle, Show };
    Label labelAfterStep() const;

    std::int32_t LetzteMinute() const { return m_LetzteMinute; }
    std::int32_t StopuhrMinuten() const { return m_StopuhrMinuten; }

    static QString text(std::int32_t minutes);
    static QString clearedText() { return QStringLiteral("00:00"); }

private:
    SharedState &m_state;
    std::int32_t m_LetzteMinute = 0;   // minute of the day at the last tick or start
    std::int32_t m_StopuhrMinuten = 0; // minutes counted
};

} // namespace lumitakt
