// The clock window's popup menu and the commands reached through it.
#include "widgets/clockwindow.h"

#include "control/clockcontroller.h"
#include "face/looks.h"
#include "widgets/aboutdialog.h"
#include "widgets/timeserverdialog.h"

#include <QAction>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QTimer>

#include <variant>

namespace lumitakt {

namespace {

// One item of the menu: its objectName, its caption, and what it does: a
// command of the controller, or one of the window's own (it opens a window);
// a separator where the caption is null. The window keeps the items whose
// state changes in `held`.
struct MenuItem {
    const char16_t *name;
    const char16_t *caption;
    std::variant<std::monostate, void (ClockController::*)(), void (ClockWindow::*)()> command;
    bool enabled = true;
    QAction **held = nullptr;
};

QAction *addItem(QMenu *menu, const char16_t *name, const char16_t *caption)
{
    QAction *action = caption ? menu->addAction(QString::fromUtf16(caption)) : menu->addSeparator();
    action->setObjectName(QString::fromUtf16(name));
    return action;
}

// Shows a dialog of the program, made first unless it is open already.
template <typename Dialog, typename Make>
Dialog *openDialog(QPointer<Dialog> &dialog, Make make)
{
    if (!dialog)
        dialog = make();
    dialog->show();
    return dialog;
}

void toFront(QWidget *dialog)
{
    dialog->raise();
    dialog->activateWindow();
}

} // namespace

void ClockWindow::createMenu()
{
    // The root "Menu" is never shown as a menu bar; it is the popup menu.
    m_menu = new QMenu(QStringLiteral("Menu"), this);
    m_menu->setObjectName(QStringLiteral("Menu"));
    const auto addItems = [this](QMenu *menu, std::initializer_list<MenuItem> items) {
        for (const MenuItem &item : items) {
            QAction *action = addItem(menu, item.name, item.caption);
            action->setEnabled(item.enabled);
            if (item.held)
                *item.held = action;
            if (const auto *command = std::get_if<void (ClockController::*)()>(&item.command))
                connect(action, &QAction::triggered, &m_controller, *command);
            else if (const auto *own = std::get_if<void (ClockWindow::*)()>(&item.command))
                connect(action, &QAction::triggered, this, *own);
        }
    };
    const auto separator = [](const char16_t *name) { return MenuItem{name, nullptr, {}}; };
    using Controller = ClockController;

    addItems(m_menu, {{u"MenuTerminEingeben", u"&Termin eingeben          ", &ClockWindow::enterAppointment},
                      {u"MenuTerminLöschen", u"Termin l&öschen", &Controller::deleteAppointment},
                      separator(u"Line1"),
                      {u"MenuStopuhrStarten", u"Stopuhr &starten", &Controller::startStopwatch, true, &m_startStopwatchAction},
                      {u"MenuStopuhrAnhalten", u"Stopuhr &anhalten", &Controller::haltOrContinueStopwatch, false, &m_haltStopwatchAction},
                      {u"MenuStopuhrLöschen", u"Stopuhr &löschen", &Controller::clearStopwatch, false, &m_clearStopwatchAction},
                      separator(u"L2")});

    QMenu *properties = m_menu->addMenu(QStringLiteral("&Eigenschaften..."));
    properties->setObjectName(QStringLiteral("MenuEigenschaften"));
    properties->menuAction()->setObjectName(QStringLiteral("MenuEigenschaften"));
    addItems(properties, {{u"MenuTerminSignal", u"Termin signalisieren...", &ClockWindow::chooseSignal}, separator(u"L7")});
    for (const Look &look : looks())
        connect(addItem(properties, look.menuItem, look.menuCaption), &QAction::triggered, &m_controller,
                [this, &look] { m_controller.chooseLook(QString::fromUtf16(look.name)); });
    addItems(properties, {separator(u"L3"), {u"MenuEigenschaftenSynronisierenMit", u"synchronisieren mit ...", &ClockWindow::chooseTimeServer}});

    addItems(m_menu, {separator(u"L4"),
                      {u"MenuEigenschaftenSynronisieren", u"s&ynchronisieren", &Controller::setClockNow, true, &m_setClockAction},
                      separator(u"L5"),
                      {u"MenuHilfe", u"&Hilfe", &ClockWindow::showHelp},
                      {u"MenuInfo", u"&Info über ...", &ClockWindow::showAbout},
                      separator(u"L6"),
                      {u"MenuEigenschaftenMinimieren", u"&minimieren", static_cast<void (ClockWindow::*)()>(&QWidget::showMinimized)}});
}

void ClockWindow::openMenu(bool fromKeyboard)
{
    m_menu->popup(QCursor::pos());
    // Opened from the keyboard, its first item is active, so that a screen
    // reader reads it at once and the arrow keys start from there.
    if (fromKeyboard)
        m_menu->setActiveAction(m_menu->actions().value(0));
}

void ClockWindow::showCommands(const ClockState::Commands &commands)
{
    m_startStopwatchAction->setEnabled(commands.startStopwatch);
    m_haltStopwatchAction->setEnabled(commands.haltStopwatch);
    // As at start the item keeps its first caption; then it offers the opposite of what it did last.
    if (commands.haltItem != Stopwatch::HaltItem::AsAtStart)
        m_haltStopwatchAction->setText(commands.haltItem == Stopwatch::HaltItem::Halt ? QStringLiteral("Stopuhr anhalten")
                                                                                       : QStringLiteral("Stopuhr weiterlaufen..."));
    m_clearStopwatchAction->setEnabled(commands.clearStopwatch);
    m_setClockAction->setEnabled(commands.setClock);
}

void ClockWindow::enterAppointment()
{
    showAppointmentDialog(AppointmentDialog::Face::Enter, m_controller.appointmentInputs(), true);
}

void ClockWindow::chooseSignal()
{
    showAppointmentDialog(AppointmentDialog::Face::Signal, m_controller.appointmentInputs(), true);
}

void ClockWindow::showAlarm(const AppointmentInputs &alarm)
{
    // The alarm comes to the front without taking the keyboard from where
    // the user works, and leaves the clock usable.
    showAppointmentDialog(AppointmentDialog::Face::Alarm, alarm, false);
}

void ClockWindow::showAppointmentDialog(AppointmentDialog::Face face, const AppointmentInputs &inputs, bool activate)
{
    // Made in the face asked for; an open dialog keeps its face and only
    // comes to the front. Entering and signalling are the user's own: the
    // clock waits for them.
    if (activate)
        setEnabled(false);
    const bool open = m_appointmentDialog;
    AppointmentDialog *dialog = openDialog(m_appointmentDialog, [&] {
            auto *made = new AppointmentDialog(face, inputs.now, inputs.note, inputs.signalMode);
            connect(made, &ProgramDialog::closed, this, &ClockWindow::returnFromDialog);
            connect(made, &AppointmentDialog::appointmentEntered, &m_controller, &ClockController::setAppointment);
            connect(made, &AppointmentDialog::alarmAcknowledged, &m_controller, &ClockController::acknowledgeAlarm);
            connect(made, &AppointmentDialog::signalModeChosen, &m_controller, &ClockController::chooseSignalMode);
            return made;
        });
    if (!open)
        return;
    dialog->raise();
    if (activate)
        dialog->activateWindow();
}

void ClockWindow::returnFromDialog()
{
    // Back from a dialog: the clock can be used again at once, becomes the
    // active window again and shows the new state (labels, height, menu),
    // once: the activation that follows is this return. A minimised clock
    // stays minimised: asking for it to be active would make the window
    // manager restore it, and only the user restores it.
    setEnabled(true);
    QTimer::singleShot(0, this, [this] {
        if (m_closed)
            return;
        m_returnActivates = false;
        if (!isMinimized())
            activateWindow();
        m_controller.userReturned();
    });
}

void ClockWindow::chooseTimeServer()
{
    toFront(openDialog(m_timeServerDialog, [this] {
        auto *dialog = new TimeServerDialog(m_controller.model().settings().timeServer);
        connect(dialog, &ProgramDialog::closed, this, &ClockWindow::returnFromDialog);
        connect(dialog, &TimeServerDialog::serverChosen, &m_controller, &ClockController::chooseTimeServer);
        return dialog;
    }));
    setEnabled(false);
}

void ClockWindow::showAbout()
{
    setEnabled(false);
    toFront(openDialog(m_aboutDialog, [this] {
        auto *dialog = new AboutDialog;
        connect(dialog, &ProgramDialog::closed, this, &ClockWindow::returnFromDialog);
        return dialog;
    }));
}

void ClockWindow::showHelp()
{
    // After this command, as a typed F1 would come.
    QTimer::singleShot(0, &m_controller, &ClockController::showHelp);
}

} // namespace lumitakt
