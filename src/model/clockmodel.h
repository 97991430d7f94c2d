#pragma once

#include "model/appointment.h"
#include "model/clocksettings.h"
#include "model/digits.h"
#include "model/stopwatch.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <chrono>
#include <optional>

namespace lumitakt {

// How often the clock reads the time and shows it. The colon blinks with
// the tick (shown one tick, hidden the next), once a second.
inline constexpr std::chrono::milliseconds kTick{500};
// How many ticks `span` takes.
constexpr int ticksIn(std::chrono::milliseconds span)
{
    return static_cast<int>(span / kTick);
}

// Hours x 60 + minutes (0..1439).
inline int minuteOfDay(QTime time)
{
    return time.hour() * 60 + time.minute();
}

// What one tick shows and does.
struct ClockTick {
    TimeDigits digits{};
    bool colonShown = false;
    std::optional<QString> caption;    // the window caption, when it changed
    std::optional<QString> spokenName; // what a screen reader says for the clock, when it changed
    bool showAlarm = false;
    bool playSound = false;
    bool setClock = false;                // time to set the computer's clock from the server
    std::optional<QString> stopwatchText; // when a minute was counted
    bool stopwatchLabelShown = false;     // after this tick: a halted stopwatch blinks its label
};

// The clock without its window: the user's settings, the appointment and
// the stopwatch, and the tick that turns a reading of the computer's clock
// into what the window shows and what the program does.
class ClockModel {
public:
    // `now`: the time at start, whose minute the stopwatch has seen.
    ClockModel(const ClockSettings &settings, const QDateTime &now);

    // One tick (every kTick); `minimised` as the window is now.
    ClockTick tick(const QDateTime &now, bool minimised);

    const ClockSettings &settings() const { return m_settings; }
    void setLook(const QString &look) { m_settings.look = look; }
    void setPlace(QPoint place) { m_settings.place = place; }
    void setTimeServer(const QString &server) { m_settings.timeServer = server; }
    void setSignalMode(std::int16_t mode) { m_settings.signalMode = mode; }

    const Appointment &appointment() const { return m_appointment; }
    void setAppointment(QTime time, const QString &note);
    // Deleted from the menu, or acknowledged in the alarm: the time goes;
    // the note and whether it sounded stay until the next one is set.
    void deleteAppointment() { m_appointment.time.reset(); }

    const Stopwatch &stopwatch() const { return m_stopwatch; }
    void startStopwatch(const QDateTime &now)
    {
        m_stopwatch.start(minuteOfDay(now.time()));
        m_stopwatchLabelShown = true;
    }
    void haltOrContinueStopwatch() { m_stopwatch.haltOrContinue(); }
    void clearStopwatch()
    {
        m_stopwatch.clear();
        m_stopwatchLabelShown = false;
    }
    // Whether the stopwatch's label shows: while it runs; a halted one blinks
    // it on every tick, a cleared one leaves it as the last command did.
    bool stopwatchLabelShown() const { return m_stopwatchLabelShown; }
    // The whole state shown afresh (the user back at the window): the label
    // shows while the stopwatch runs, whatever phase a halted one blinked in.
    void showStopwatchLabelAfresh() { m_stopwatchLabelShown = m_stopwatch.isRunning(); }

    // Whether the window shows its row of labels: an appointment is set or
    // the stopwatch runs.
    bool showsLabels() const { return m_appointment.isSet() || m_stopwatch.isRunning(); }
    // "Termin   hh:mm", or "Termin   " with no appointment.
    QString appointmentLabel() const;
    // The labels in words, for a screen reader.
    QString labelsDescription() const;

private:
    // Whether the alarm shows at `now`: the appointment's minute, or the
    // minute after a missed one.
    bool alarmDue(const QDateTime &now) const;
    QString appointmentTime() const; // "hh:mm", empty with no appointment
    // Whether the alarm's sound plays now; in "einmal" mode it marks the
    // appointment as sounded.
    bool soundAlarm();

    ClockSettings m_settings;
    Appointment m_appointment;
    Stopwatch m_stopwatch;

    bool m_colonShown = true;
    bool m_stopwatchLabelShown = false;
    QDateTime m_previousTick; // when the last tick ran
    QDateTime m_lateAlarmEnd; // end of the minute of an alarm rung late
    // What the caption was last made from: the date, and the minute while minimised.
    struct CaptionKey {
        QDate date;
        int minute = -2;
        bool operator==(const CaptionKey &) const = default;
    };
    CaptionKey m_captionKey;
    CaptionKey m_spokenKey; // the date and minute the spoken name says
};

} // namespace lumitakt
