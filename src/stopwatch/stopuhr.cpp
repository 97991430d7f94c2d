#include "stopwatch/stopuhr.h"

#include "sharedstate.h"

#include <limits>

namespace lumitakt {

void Stopuhr::reset(int minuteOfDay)
{
    m_LetzteMinute = minuteOfDay;
    m_StopuhrMinuten = 0;
}

Stopuhr::Menu Stopuhr::start(int minuteOfDay)
{
    m_state.StopuhrLaeuft = true;
    m_LetzteMinute = minuteOfDay;
    return {false, true, true, nullptr};
}

Stopuhr::Menu Stopuhr::haltOrContinue()
{
    if (!m_state.StopuhrAngehalten) {
        m_state.StopuhrLaeuft = false;
        m_state.StopuhrAngehalten = true;
        return {false, true, false, u"Stopuhr weiterlaufen..."};
    }
    m_state.StopuhrLaeuft = true;
    m_state.StopuhrAngehalten = false;
    return {false, true, true, u"Stopuhr anhalten"};
}

Stopuhr::Menu Stopuhr::clear()
{
    m_state.StopuhrLaeuft = false;
    m_StopuhrMinuten = 0;
    return {true, false, false, nullptr};
}

std::optional<QString> Stopuhr::step(int minuteOfDay)
{
    if (minuteOfDay == m_LetzteMinute)
        return std::nullopt;
    m_LetzteMinute = minuteOfDay;
    // After 4000 years of counting the count stops rather than wrap round.
    if (!m_state.StopuhrLaeuft || m_StopuhrMinuten == std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    ++m_StopuhrMinuten;
    return text(m_StopuhrMinuten);
}

Stopuhr::Label Stopuhr::labelAfterStep() const
{
    if (m_state.StopuhrAngehalten)
        return Label::Toggle;
    return m_state.StopuhrLaeuft ? Label::Show : Label::Keep;
}

QString Stopuhr::text(std::int32_t minutes)
{
    const std::int32_t rest = minutes % 60;
    return QString::number(minutes / 60) + u':' + QChar(u'0' + rest / 10) + QChar(u'0' + rest % 10);
}

} // namespace lumitakt
