#pragma once

#include "control/clockstate.h"
#include "control/clockview.h"
#include "logging.h"
#include "model/clockmodel.h"
#include "platform/services.h"
#include "platform/startup.h"
#include "platform/timesetter.h"

#include <QObject>

#include <memory>

class QTimer;

namespace lumitakt {

class SettingsKeeper;

// Runs the clock behind its window: owns the tick's timer, the settings
// keeper, the model and the clock setter, applies each tick's result and
// each of the user's commands, and makes what the window shows (ClockState).
// Every command ends the same way: settings that changed are written at
// once, and the window is given the state.
class ClockController final : public QObject {
    Q_OBJECT
public:
    ClockController(std::unique_ptr<SettingsKeeper> settings, Services services, ProgramFiles files, QObject *parent = nullptr);
    ~ClockController() override;

    // The tick starts, shown in `view` until the view is closed or stopped.
    void start(ClockView &view);
    // The view goes away: the tick stops, nothing is written.
    void stop();
    // One tick: reads the time once and applies what the model makes of it.
    void tick();

Q_SIGNALS:
    // A tick has run: the window keeps its start place by it.
    void ticked();

public:
    // What the window and its dialogs start from.
    const ClockModel &model() const { return m_model; }
    const ClockState &state() const { return m_state; }
    AppointmentInputs appointmentInputs() const;
    QString helpFile() const { return m_files.dataFolder + QStringLiteral("/Lumitakt.html"); }

    // What the window tells as it happens: the user moved it (once it
    // stands where the user put it), or minimised or restored it.
    void viewMoved(QPoint place);
    void viewMinimised(bool minimised);
    // The user is back at the window: at its first showing, and when the
    // user returns to it from one of its dialogs. The window shows the whole
    // state and comes to the front.
    void userReturned();

    // The user's commands.
    void chooseLook(const QString &name);
    void setAppointment(QTime time, const QString &note);
    void deleteAppointment();
    void acknowledgeAlarm();
    void chooseSignalMode(std::int16_t mode);
    void chooseTimeServer(const QString &server);
    void startStopwatch();
    void haltOrContinueStopwatch();
    void clearStopwatch();
    void setClockNow();
    void showHelp();

    // Writes the settings file if a kept value changed since it was last
    // written: for the ways out of the program other than the close button.
    void saveSettings();
    // The window was closed: the file is written with the last place the
    // window told, and the tick stops for good.
    void viewClosed();

private:
    // How much of the state a command makes anew. The menu's items, the
    // labels' description and the look always; the row of labels and the
    // window's height only where the user is at the window: a command of a
    // dialog leaves them until the user returns, and brings nothing to the front.
    enum class Scope { Menu, Window };
    void commandDone(Scope scope);
    void makeState(Scope scope);
    // Whether "synchronisieren" can do something with the stored name; a
    // name that can be no time server is said to be refused, once.
    bool canSetClock();

    std::unique_ptr<SettingsKeeper> m_settings;
    Services m_services;
    ProgramFiles m_files;
    ClockModel m_model;
    TimeSetter m_timeSetter;
    QTimer *m_timer;
    ClockView *m_view = nullptr;
    ClockState m_state;
    bool m_minimised = false;
    SaidOnce m_saidRefused; // the time server name last said to be refused
};

} // namespace lumitakt
