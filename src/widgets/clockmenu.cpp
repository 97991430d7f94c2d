// The clock window's popup menu and the commands reached through it.
#include "widgets/clockwindow.h"

#include "face/looks.h"
#include "model/clockmodel.h"
#include "platform/clock.h"
#include "platform/helpviewer.h"
#include "widgets/aboutdialog.h"
#include "widgets/timeserverdialog.h"

#include <QAction>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QTimer>

namespace lumitakt {

namespace {

// One item of the menu: its objectName, its caption, and what it does; a
// separator where the caption is null. The window keeps the items whose
// state changes in `held`.
struct MenuItem {
    const char16_t *name;
    const char16_t *caption;
    void (ClockWindow::*command)();
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

void bringToFront(QWidget *dialog)
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
            if (item.command)
                connect(action, &QAction::triggered, this, item.command);
        }
    };
    const auto separator = [](const char16_t *name) { return MenuItem{name, nullptr, nullptr}; };

    addItems(m_menu, {{u"MenuTerminEingeben", u"&Termin eingeben          ", &ClockWindow::enterAppointment},
                      {u"MenuTerminLöschen", u"Termin l&öschen", &ClockWindow::deleteAppointment},
                      separator(u"Line1"),
                      {u"MenuStopuhrStarten", u"Stopuhr &starten", &ClockWindow::startStopwatch, true, &m_startStopwatchAction},
                      {u"MenuStopuhrAnhalten", u"Stopuhr &anhalten", &ClockWindow::haltOrContinueStopwatch, false, &m_haltStopwatchAction},
                      {u"MenuStopuhrLöschen", u"Stopuhr &löschen", &ClockWindow::clearStopwatch, false, &m_clearStopwatchAction},
                      separator(u"L2")});

    QMenu *properties = m_menu->addMenu(QStringLiteral("&Eigenschaften..."));
    properties->setObjectName(QStringLiteral("MenuEigenschaften"));
    properties->menuAction()->setObjectName(QStringLiteral("MenuEigenschaften"));
    addItems(properties, {{u"MenuTerminSignal", u"Termin signalisieren...", &ClockWindow::chooseSignal}, separator(u"L7")});
    for (const Look &look : looks())
        connect(addItem(properties, look.menuItem, look.menuCaption), &QAction::triggered, this, [this, &look] { chooseLook(look); });
    addItems(properties, {separator(u"L3"), {u"MenuEigenschaftenSynronisierenMit", u"synchronisieren mit ...", &ClockWindow::chooseTimeServer}});

    addItems(m_menu, {separator(u"L4"),
                      {u"MenuEigenschaftenSynronisieren", u"s&ynchronisieren", &ClockWindow::setClockNow, true, &m_setClockAction},
                      separator(u"L5"),
                      {u"MenuHilfe", u"&Hilfe", &ClockWindow::showHelp},
                      {u"MenuInfo", u"&Info über ...", &ClockWindow::showAbout},
                      separator(u"L6"),
                      {u"MenuEigenschaftenMinimieren", u"&minimieren", &QWidget::showMinimized}});
}

void ClockWindow::openMenu(bool fromKeyboard)
{
    m_menu->popup(QCursor::pos());
    // Opened from the keyboard, its first item is active, so that a screen
    // reader reads it at once and the arrow keys start from there.
    if (fromKeyboard)
        m_menu->setActiveAction(m_menu->actions().value(0));
}

void ClockWindow::chooseLook(const Look &look)
{
    m_model.setLook(QString::fromUtf16(look.name));
    showLook(&look);
    saveSettings();
}

void ClockWindow::enterAppointment()
{
    showAppointmentDialog(AppointmentDialog::Face::Enter, m_services.clock.now(), true);
    setEnabled(false);
}

void ClockWindow::chooseSignal()
{
    showAppointmentDialog(AppointmentDialog::Face::Signal, m_services.clock.now(), true);
    setEnabled(false);
}

void ClockWindow::deleteAppointment()
{
    m_model.deleteAppointment();
    showState();
}

void ClockWindow::showAppointmentDialog(AppointmentDialog::Face face, const QDateTime &now, bool activate)
{
    // Made in the face asked for; an open dialog keeps its face and only
    // comes to the front.
    const bool open = m_appointmentDialog;
    AppointmentDialog *dialog = openDialog(m_appointmentDialog, [&] {
            auto *made = new AppointmentDialog(face, now, m_model.appointment().note, m_model.settings().signalMode, this);
            connect(made, &ProgramDialog::closed, this, &ClockWindow::returnFromDialog);
            connect(made, &AppointmentDialog::appointmentEntered, this,
                    [this](QTime time, const QString &note) { m_model.setAppointment(time, note); });
            connect(made, &AppointmentDialog::alarmAcknowledged, this, [this] { m_model.deleteAppointment(); });
            connect(made, &AppointmentDialog::signalModeChosen, this, [this](std::int16_t mode) { m_model.setSignalMode(mode); });
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
    // Back from a dialog: the clock becomes the active window again and
    // shows the new state (labels, height, menu). A minimised clock stays
    // minimised: asking for it to be active would make the window manager
    // restore it, and only the user restores it.
    QTimer::singleShot(0, this, [this] {
        if (m_closed)
            return;
        if (!isMinimized())
            activateWindow();
        showState();
    });
}

void ClockWindow::setClockNow()
{
    m_timeSetter.setClock(m_model.settings().timeServer, SyncRequest::ByUser);
}

void ClockWindow::chooseTimeServer()
{
    bringToFront(openDialog(m_timeServerDialog, [this] {
        auto *dialog = new TimeServerDialog(m_model.settings().timeServer, this);
        connect(dialog, &ProgramDialog::closed, this, &ClockWindow::returnFromDialog);
        connect(dialog, &TimeServerDialog::serverChosen, this, [this](const QString &server) { m_model.setTimeServer(server); });
        return dialog;
    }));
    setEnabled(false);
}

void ClockWindow::showAbout()
{
    setEnabled(false);
    bringToFront(openDialog(m_aboutDialog, [this] {
        auto *dialog = new AboutDialog(this);
        connect(dialog, &ProgramDialog::closed, this, &ClockWindow::returnFromDialog);
        return dialog;
    }));
}

void ClockWindow::showHelp()
{
    // After this command, as a typed F1 would come.
    QTimer::singleShot(0, this, [this] { m_services.help.open(helpFile()); });
}

void ClockWindow::startStopwatch()
{
    applyStopwatchMenu(m_model.startStopwatch(m_services.clock.now()));
    showState(); // tall window, label shown
}

void ClockWindow::haltOrContinueStopwatch()
{
    // Neither halting nor continuing changes the window's height.
    applyStopwatchMenu(m_model.haltOrContinueStopwatch());
    describeLabels();
}

void ClockWindow::clearStopwatch()
{
    const Stopwatch::Menu menu = m_model.clearStopwatch();
    m_stopwatchLabel->setText(Stopwatch::clearedText());
    showState(); // label hidden, short window unless an appointment is set
    applyStopwatchMenu(menu);
}

void ClockWindow::applyStopwatchMenu(const Stopwatch::Menu &menu)
{
    m_startStopwatchAction->setEnabled(menu.canStart);
    m_haltStopwatchAction->setEnabled(menu.canHalt);
    switch (menu.haltItem) {
    case Stopwatch::HaltItem::Halt:
        m_haltStopwatchAction->setText(QStringLiteral("Stopuhr anhalten"));
        break;
    case Stopwatch::HaltItem::Continue:
        m_haltStopwatchAction->setText(QStringLiteral("Stopuhr weiterlaufen..."));
        break;
    case Stopwatch::HaltItem::Unchanged:
        break;
    }
    m_clearStopwatchAction->setEnabled(menu.canClear);
}

} // namespace lumitakt
