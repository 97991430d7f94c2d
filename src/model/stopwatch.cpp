#include "model/stopwatch.h"

#include "model/clocktexts.h"

#include <limits>

namespace lumitakt {

void Stopwatch::start(int minuteOfDay)
{
    m_state = State::Running;
    m_lastMinute = minuteOfDay;
}

void Stopwatch::haltOrContinue()
{
    const bool halt = m_state != State::Halted;
    m_state = halt ? State::Halted : State::Running;
    m_haltItem = halt ? HaltItem::Continue : HaltItem::Halt;
}

void Stopwatch::clear()
{
    m_state = State::Cleared;
    m_minutes = 0;
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

QString Stopwatch::text(std::int32_t minutes)
{
    return QString::number(minutes / 60) + u':' + twoDigits(minutes % 60);
}

} // namespace lumitakt
