#include "control/clockcontroller.h"

#include "control/clockview.h"
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
    // Where the window stands is kept while it is not minimised; whatever
    // the user changed reaches the settings file within seconds.
    const ClockView::Standing standing = m_view->standing();
    if (!standing.minimised)
        m_model.setPlace(standing.place);
    m_settings->tick(m_model.settings());

    const ClockTick tick = m_model.tick(now, standing.minimised);
    if (tick.setClock)
        m_timeSetter.setClock(m_model.settings().timeServer, SyncRequest::ByTick);
    // The alarm is on the screen before its sound starts.
    if (tick.showAlarm) {
        m_view->showAlarm(now);
        if (tick.playSound)
            m_services.sound.play(m_files.dataFolder + QStringLiteral("/Termin.wav"));
    }
    m_view->showTick(tick);
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

void ClockController::commandDone(Shown shown)
{
    // A chosen look, server or signal mode is in the file at once, not only
    // at the next tick.
    m_settings->saveChanges(m_model.settings());
    if (!m_view)
        return;
    switch (shown) {
    case Shown::State:
        m_view->showState();
        break;
    case Shown::Look:
        m_view->showLook();
        break;
    case Shown::Commands:
        m_view->showCommands();
        break;
    }
}

void ClockController::chooseLook(const QString &name)
{
    m_model.setLook(name);
    commandDone(Shown::Look);
}

// The commands of the dialogs change no more than the menu while the dialog
// is open; the window shows the rest when the user returns to it.
void ClockController::setAppointment(QTime time, const QString &note)
{
    m_model.setAppointment(time, note);
    commandDone(Shown::Commands);
}

void ClockController::deleteAppointment()
{
    m_model.deleteAppointment();
    commandDone(Shown::State);
}

// Acknowledged in the alarm: the appointment is gone as if deleted; the
// window shows it when the user returns to it.
void ClockController::acknowledgeAlarm()
{
    m_model.deleteAppointment();
    commandDone(Shown::Commands);
}

void ClockController::chooseSignalMode(std::int16_t mode)
{
    m_model.setSignalMode(mode);
    commandDone(Shown::Commands);
}

void ClockController::chooseTimeServer(const QString &server)
{
    m_model.setTimeServer(server);
    commandDone(Shown::Commands);
}

void ClockController::startStopwatch()
{
    m_model.startStopwatch(m_services.clock.now());
    commandDone(Shown::State); // tall window, label shown
}

void ClockController::haltOrContinueStopwatch()
{
    // Neither halting nor continuing changes the window's height; the tick
    // blinks the label of a halted stopwatch.
    m_model.haltOrContinueStopwatch();
    commandDone(Shown::Commands);
}

void ClockController::clearStopwatch()
{
    m_model.clearStopwatch();
    commandDone(Shown::State); // label hidden, short window unless an appointment is set
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

void ClockController::viewClosed(std::optional<QPoint> place)
{
    if (!m_view)
        return;
    if (place)
        m_model.setPlace(*place);
    // A file that cannot be written loses this run's choices but never
    // stops the program from ending, and never damages the file there.
    m_settings->write(m_model.settings());
    stop();
}

} // namespace lumitakt
