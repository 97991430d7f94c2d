#pragma once

#include "logging.h"
#include "model/clockmodel.h"
#include "platform/services.h"
#include "platform/startup.h"
#include "platform/timesetter.h"

#include <QObject>

#include <memory>
#include <optional>

class QTimer;

namespace lumitakt {

class ClockView;
class SettingsKeeper;

// Runs the clock behind its window: owns the tick's timer, the settings
// keeper, the model and the clock setter, applies each tick's result and
// each of the user's commands, and tells the window what to show. Every
// command ends the same way: settings that changed are written at once, and
// the window is told what the command can have changed.
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

    const ClockModel &model() const { return m_model; }
    ClockModel &model() { return m_model; }
    SettingsKeeper &settings() { return *m_settings; }
    Services services() const { return m_services; }
    QString helpFile() const { return m_files.dataFolder + QStringLiteral("/Lumitakt.html"); }
    // Whether "synchronisieren" can do something with the stored name; a
    // name that can be no time server is said to be refused, once.
    bool canSetClock();

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
    // The window was closed: its last place (none while minimised or not yet
    // the user's) is kept, the file written, the tick stopped for good.
    void viewClosed(std::optional<QPoint> place);

private:
    // What a command can have changed in the window.
    enum class Shown { Commands, Look, State };
    void commandDone(Shown shown);

    std::unique_ptr<SettingsKeeper> m_settings;
    Services m_services;
    ProgramFiles m_files;
    ClockModel m_model;
    TimeSetter m_timeSetter;
    QTimer *m_timer;
    ClockView *m_view = nullptr;
    SaidOnce m_saidRefused; // the time server name last said to be refused
};

} // namespace lumitakt
