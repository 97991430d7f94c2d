#include "model/stopwatch.h"

#include "model/clocktexts.h"

#include <limits>

namespace lumitakt {

Stopwatch::Menu Stopwatch::start(int minuteOfDay)
{
    m_state = State::Running;
    m_lastMinute = minuteOfDay;
    return {false, true, true, HaltItem::Unchanged};
}

Stopwatch::Menu Stopwatch::haltOrContinue()
{
    if (m_state != State::Halted) {
        m_state = State::Halted;
        return {false, true, false, HaltItem::Continue};
    }
    m_state = State::Running;
    return {false, true, true, HaltItem::Halt};
}

Stopwatch::Menu Stopwatch::clear()
{
    m_state = State::Cleared;
    m_minutes = 0;
    return {true, false, false, HaltItem::Unchanged};
}

std::optional<QString> Stopwatch::tick(int minuteOfDay)
{
    if (minuteOfDay == m_lastMinute)
        return std::nullopt;
    m_lastMinute = minuteOfDay;
    // After 4000 years of counting the count stops rather than wrap round.
    if (m_state != State::Running || m_minutes == std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    ++m_minutes;
    return text(m_minutes);
}

Stopwatch::Label Stopwatch::label() const
{
    switch (m_state) {
    case State::Halted:
        return Label::Toggle;
    case State::Running:
        return Label::Show;
    case State::Cleared:
        break;
    }
    return Label::Keep;
}

QString Stopwatch::text(std::int32_t minutes)
{
    return QString::number(minutes / 60) + u':' + twoDigits(minutes % 60);
}

} // namespace lumitakt
