#pragma once

#include "widgets/programdialog.h"

#include <QDateTime>

#include <array>
#include <cstdint>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace lumitakt {

class OuterSizeKeeper;

// The appointment dialog ("Termin") with three faces, chosen when it is
// made: enter an appointment, the alarm, and how the alarm sounds. It hands
// what the user does back through its signals and keeps no state of the clock.
class AppointmentDialog final : public ProgramDialog {
    Q_OBJECT
public:
    enum class Face { Enter, Alarm, Signal };

    // `now`: the hour the enter face proposes follows it; the alarm shows it.
    AppointmentDialog(Face face, const QDateTime &now, const QString &note, std::int16_t signalMode);

Q_SIGNALS:
    void appointmentEntered(QTime time, const QString &note);
    void alarmAcknowledged();
    void signalModeChosen(std::int16_t mode);

private:
    void createElements();
    void showFace(Face face, const QDateTime &now, const QString &note, std::int16_t signalMode);
    void proposeTime(const QDateTime &now);
    void showHour();
    void showMinute();
    void takeAppointment();

    OuterSizeKeeper *m_outerSize = nullptr;
    QGroupBox *m_enterFrame = nullptr;
    QGroupBox *m_alarmFrame = nullptr;
    QGroupBox *m_signalFrame = nullptr;
    QScrollBar *m_hourBar = nullptr;
    QScrollBar *m_minuteBar = nullptr;
    QLineEdit *m_hourBox = nullptr;
    QLineEdit *m_minuteBox = nullptr;
    QLineEdit *m_noteBox = nullptr;
    QLabel *m_alarmText = nullptr;
    std::array<QPushButton *, 3> m_okButtons{}; // enter, alarm, signal
    std::array<QRadioButton *, 2> m_signalButtons{}; // by mode: 0 repeated, 1 once
};

} // namespace lumitakt
