#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace lumitakt {

// The stopwatch counts the changes of the clock's minute that it sees while
// it runs, and shows the count as hours and minutes. It measures no elapsed
// time: a jump of the clock, either way, counts as one minute.
class Stopwatch {
public:
    enum class State { Cleared, Running, Halted };

    // What the halt item offers after a command, where that changes.
    enum class HaltItem { Unchanged, Halt, Continue };
    // Which menu items are enabled, and what the halt item offers.
    struct Menu {
        bool canStart;
        bool canHalt;
        bool canClear;
        HaltItem haltItem;
    };

    // What the tick does with the label: leave it, blink it (halted), show it.
    enum class Label { Keep, Toggle, Show };

    // At start-up: cleared, nothing counted, the current minute seen.
    explicit Stopwatch(int minuteOfDay) : m_lastMinute(minuteOfDay) {}

    // Start; the minute changes before now are not counted.
    Menu start(int minuteOfDay);
    // Halt a running stopwatch, or let a halted one continue.
    Menu haltOrContinue();
    // Clear the count; the label text goes back to clearedText().
    Menu clear();

    // One tick. Returns the new label text when a minute was counted.
    std::optional<QString> tick(int minuteOfDay);
    Label label() const;

    State state() const { return m_state; }
    bool isRunning() const { return m_state == State::Running; }
    std::int32_t minutes() const { return m_minutes; }

    // The label: hours without leading zero, ":", two digits of minutes.
    static QString text(std::int32_t minutes);
    static QString clearedText() { return QStringLiteral("00:00"); }

private:
    State m_state = State::Cleared;
    std::int32_t m_lastMinute;  // minute of the day at the last tick or start
    std::int32_t m_minutes = 0; // minutes counted
};

} // namespace lumitakt
