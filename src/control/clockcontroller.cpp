#include "control/clockcontroller.h"

#include "logging.h"
#include "model/servername.h"
#include "platform/clock.h"
#include "platform/helpviewer.h"
#include "platform/soundplayer.h"
#include "settings/settingskeeper.h"

#include <QTimer>

namespace lumitakt {

ClockController::ClockController(std::unique_ptr<SettingsKeeper> settings, Services services, ProgramFiles files, QObject *parent)
    : QObject(parent), m_settings(std::move(settings)), m_services(services), m_files(std::move(files)),
      m_model(m_settings->loaded(), m_services.clock.now()), m_timeSetter(m_services.commands, m_files.helperFolder),
      m_timer(new QTimer(this))
{
    m_timer->setObjectName(QStringLiteral("Timer"));
    m_timer->setInterval(kTick);
    connect(m_timer, &QTimer::timeout, this, &ClockController::tick);
    // The rest of the state is made when the user first sees the window:
    // until then the window keeps what it starts with.
}

ClockController::~ClockController() = default;

void ClockController::start(ClockView &view)
{
    m_view = &view;
    m_timer->start();
}

void ClockController::stop()
{
    m_view = nullptr;
    m_timer->stop();
}

void ClockController::tick()
{
    if (!m_view)
        return;
    const QDateTime now = m_services.clock.now();
    // Whatever the user changed reaches the settings file within seconds.
    m_settings->tick(m_model.settings());

    const ClockTick tick = m_model.tick(now, m_minimised);
    if (tick.setClock)
        m_timeSetter.setClock(m_model.settings().timeServer, SyncRequest::ByTick);
    // The alarm is on the screen before its sound starts.
    if (tick.showAlarm) {
        m_view->showAlarm(appointmentInputs());
        if (tick.playSound)
            m_services.sound.play(m_files.dataFolder + QStringLiteral("/Termin.wav"));
    }

    m_state.digits = tick.digits;
    m_state.colonShown = tick.colonShown;
    if (tick.caption)
        m_state.caption = *tick.caption;
    if (tick.spokenName)
        m_state.spokenName = *tick.spokenName;
    if (tick.stopwatchText) {
        m_state.stopwatchText = *tick.stopwatchText;
        m_state.labelsDescription = m_model.labelsDescription();
    }
    m_state.stopwatchShown = tick.stopwatchLabelShown;
    m_view->showState(m_state);
    Q_EMIT ticked();
}

AppointmentInputs ClockController::appointmentInputs() const
{
    return {m_services.clock.now(), m_model.appointment().note, m_model.settings().signalMode};
}

void ClockController::viewMoved(QPoint place)
{
    // A minimised window's place is the window system's, not the user's.
    if (!m_minimised)
        m_model.setPlace(place);
}

void ClockController::viewMinimised(bool minimised)
{
    m_minimised = minimised;
}

bool ClockController::canSetClock()
{
    // A name that can be no time server would make "synchronisieren" do
    // nothing: the command is off, as for no name, and the reason said once.
    const QString name = m_model.settings().timeServer.trimmed();
    if (name.isEmpty())
        return false;
    if (isServerName(name.toStdString()))
        return true;
    if (m_saidRefused.isNew(name)) {
        qCWarning(lcCommands).nospace().noquote()
            << "The time server name \"" << name << "\" is refused: it is neither a host name (letters, digits, hyphens and "
            << "dots; a name with umlauts in its xn-- form) nor an IP address. The clock is not set.";
    }
    return false;
}

void ClockController::makeState(Scope scope)
{
    const Stopwatch &stopwatch = m_model.stopwatch();
    m_state.commands = {stopwatch.canStart(), stopwatch.canHalt(), stopwatch.canClear(), stopwatch.haltItem(), canSetClock()};
    m_state.look = m_model.settings().look;
    // A cleared count shows as cleared; the tick writes every counted minute.
    m_state.stopwatchText = stopwatch.labelText();
    m_state.labelsDescription = m_model.labelsDescription();
    if (scope == Scope::Menu)
        return;
    m_model.showStopwatchLabelAfresh();
    m_state.tall = m_model.showsLabels();
    m_state.appointmentText = m_model.appointmentLabel();
    m_state.appointmentShown = m_model.appointment().isSet();
    m_state.stopwatchShown = m_model.stopwatchLabelShown();
}

void ClockController::commandDone(Scope scope)
{
    // A chosen look, server or signal mode is in the file at once, not only
    // at the next tick.
    m_settings->saveChanges(m_model.settings());
    makeState(scope);
    if (!m_view)
        return;
    if (scope == Scope::Window)
        m_view->bringToFront();
    m_view->showState(m_state);
}

void ClockController::userReturned()
{
    makeState(Scope::Window);
    if (!m_view)
        return;
    m_view->bringToFront();
    m_view->showState(m_state);
}

void ClockController::chooseLook(const QString &name)
{
    m_model.setLook(name);
    commandDone(Scope::Menu);
}

// The commands of the dialogs change no more than the menu while the dialog
// is open; the window shows the rest when the user returns to it.
void ClockController::setAppointment(QTime time, const QString &note)
{
    m_model.setAppointment(time, note);
    commandDone(Scope::Menu);
}

void ClockController::deleteAppointment()
{
    m_model.deleteAppointment();
    commandDone(Scope::Window);
}

// Acknowledged in the alarm: the appointment is gone as if deleted; the
// window shows it when the user returns to it.
void ClockController::acknowledgeAlarm()
{
    m_model.deleteAppointment();
    commandDone(Scope::Menu);
}

void ClockController::chooseSignalMode(std::int16_t mode)
{
    m_model.setSignalMode(mode);
    commandDone(Scope::Menu);
}

void ClockController::chooseTimeServer(const QString &server)
{
    m_model.setTimeServer(server);
    commandDone(Scope::Menu);
}

void ClockController::startStopwatch()
{
    m_model.startStopwatch(m_services.clock.now());
    commandDone(Scope::Window);
}

void ClockController::haltOrContinueStopwatch()
{
    // Neither halting nor continuing changes the window's height until the
    // user is back at it; the tick blinks the label of a halted stopwatch.
    m_model.haltOrContinueStopwatch();
    commandDone(Scope::Menu);
}

void ClockController::clearStopwatch()
{
    m_model.clearStopwatch();
    commandDone(Scope::Window);
}

void ClockController::setClockNow()
{
    m_timeSetter.setClock(m_model.settings().timeServer, SyncRequest::ByUser);
}

void ClockController::showHelp()
{
    m_services.help.open(helpFile());
}

void ClockController::saveSettings()
{
    m_settings->saveChanges(m_model.settings());
}

void ClockController::viewClosed()
{
    if (!m_view)
        return;
    // A file that cannot be written loses this run's choices but never
    // stops the program from ending, and never damages the file there.
    m_settings->write(m_model.settings());
    stop();
}

} // namespace lumitakt
