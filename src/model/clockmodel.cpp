#include "model/clockmodel.h"

#include "model/clocktexts.h"
#include "model/timesync.h"

#include <utility>

namespace lumitakt {

ClockModel::ClockModel(const ClockSettings &settings, const QDateTime &now)
    : m_settings(settings), m_stopwatch(minuteOfDay(now.time()))
{
}

ClockTick ClockModel::tick(const QDateTime &now, bool minimised)
{
    // One reading of the clock for everything, so that the digits, the
    // caption and the alarm always agree, even when the clock passes a full
    // hour during the tick.
    const QDate date = now.date();
    const QTime time = now.time();
    const int minute = minuteOfDay(time);
    ClockTick result;
    // The tick before this one: the ten-minute rule and the missed
    // appointment below both compare with it, so it is taken here, once.
    const QDateTime previous = std::exchange(m_previousTick, now);

    // The colon blinks: shown one tick, hidden the next.
    m_colonShown = !m_colonShown;
    result.colonShown = m_colonShown;

    // Every ten minutes the computer's clock is set from the time server,
    // once: the second tick within second 0 leaves it to the first.
    result.setClock = syncDue(time.minute(), time.second())
                      && !(previous.isValid() && previous.toSecsSinceEpoch() == now.toSecsSinceEpoch());

    // The caption carries the date, and the time while minimised; it is only
    // made anew when what it shows can have changed.
    const CaptionKey captionKey{date, minimised ? minute : -1};
    if (captionKey != m_captionKey) {
        m_captionKey = captionKey;
        result.caption = minimised ? minimisedCaption(date, time) : normalCaption(date);
    }
    const CaptionKey spokenKey{date, minute};
    if (spokenKey != m_spokenKey) {
        m_spokenKey = spokenKey;
        result.spokenName = spokenClockName(date, time);
    }

    // An appointment whose minute no tick saw (the computer slept through
    // it, or its clock was set ahead) is due now, for a minute, as if it had
    // just begun.
    if (m_appointment.wasMissedBetween(previous, now))
        m_lateAlarmEnd = now.addSecs(60);
    if (alarmDue(now)) {
        result.showAlarm = true;
        result.playSound = soundAlarm();
    }

    result.digits = timeDigits(time);
    result.stopwatchText = m_stopwatch.tick(minute);
    switch (m_stopwatch.state()) {
    case Stopwatch::State::Halted:
        m_stopwatchLabelShown = !m_stopwatchLabelShown;
        break;
    case Stopwatch::State::Running:
        m_stopwatchLabelShown = true;
        break;
    case Stopwatch::State::Cleared:
        break;
    }
    result.stopwatchLabelShown = m_stopwatchLabelShown;
    return result;
}

bool ClockModel::alarmDue(const QDateTime &now) const
{
    const bool late = m_lateAlarmEnd.isValid() && now < m_lateAlarmEnd && now >= m_lateAlarmEnd.addSecs(-60) && m_appointment.isSet();
    return late || m_appointment.isDueAt(now.time());
}

bool ClockModel::soundAlarm()
{
    // Once per appointment in "einmal" mode (1), on every due tick in any other.
    if (m_appointment.sounded)
        return false;
    if (m_settings.signalMode == kSignalOnce)
        m_appointment.sounded = true;
    return true;
}

void ClockModel::setAppointment(QTime time, const QString &note)
{
    m_appointment = {QTime(time.hour(), time.minute()), note, false};
}

QString ClockModel::appointmentTime() const
{
    return m_appointment.time ? hoursMinutes(*m_appointment.time) : QString();
}

QString ClockModel::appointmentLabel() const
{
    return QStringLiteral("Termin   ") + appointmentTime();
}

QString ClockModel::labelsDescription() const
{
    return spokenClockDescription({m_appointment.isSet(), appointmentTime(),
                                   m_appointment.note, m_stopwatch.state() != Stopwatch::State::Cleared,
                                   m_stopwatch.state() == Stopwatch::State::Halted, m_stopwatch.minutes()});
}

} // namespace lumitakt
