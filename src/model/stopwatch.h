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

    // What the halt command offers: as at start until it is first used,
    // then the opposite of what it did last (start and clear keep it).
    enum class HaltItem { AsAtStart, Halt, Continue };

    // At start-up: cleared, nothing counted, the current minute seen.
    explicit Stopwatch(int minuteOfDay) : m_lastMinute(minuteOfDay) {}

    // Start; the minute changes before now are not counted.
    void start(int minuteOfDay);
    // Halt a running stopwatch, or let a halted one continue.
    void haltOrContinue();
    // Clear the count; the label text goes back to clearedText().
    void clear();

    // One tick. Returns the new label text when a minute was counted.
    std::optional<QString> tick(int minuteOfDay);

    // Which commands can be used now: start when cleared, halt or continue
    // once started, clear while it runs.
    bool canStart() const { return m_state == State::Cleared; }
    bool canHalt() const { return m_state != State::Cleared; }
    bool canClear() const { return m_state == State::Running; }
    HaltItem haltItem() const { return m_haltItem; }
    // What the label says: clearedText() until a minute is counted.
    QString labelText() const { return m_minutes == 0 ? clearedText() : text(m_minutes); }

    State state() const { return m_state; }
    bool isRunning() const { return m_state == State::Running; }
    std::int32_t minutes() const { return m_minutes; }

    // The label: hours without leading zero, ":", two digits of minutes.
    static QString text(std::int32_t minutes);
    static QString clearedText() { return QStringLiteral("00:00"); }

private:
    State m_state = State::Cleared;
    HaltItem m_haltItem = HaltItem::AsAtStart;
    std::int32_t m_lastMinute;  // minute of the day at the last tick or start
    std::int32_t m_minutes = 0; // minutes counted
};

} // namespace lumitakt
