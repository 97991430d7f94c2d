#pragma once

#include "control/clockstate.h"
#include "control/clockview.h"
#include "face/picturestores.h"
#include "widgets/appointmentdialog.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <memory>

class QAction;
class QLabel;
class QMenu;

namespace lumitakt {

class AboutDialog;
class ClockController;
class OuterSizeKeeper;
class PictureElement;
class StartPlace;
class TimeServerDialog;
struct Look;

// The clock window: four seven-segment digits and a blinking colon made of
// pictures, two labels under them, and the popup menu through which every
// command is reached. It draws what the controller tells it to and hands the
// user's commands to it.
class ClockWindow final : public QWidget, public ClockView {
    Q_OBJECT
public:
    // The window's outer size in pixels, short and tall (with the row of
    // labels); a saved place is tested against the screens with `kStartSize`.
    static constexpr QSize kShortSize{200, 96};
    static constexpr int kTallHeight = 105;
    static constexpr QSize kStartSize{196, 98};

    // The window starts the controller's tick.
    explicit ClockWindow(ClockController &controller, QWidget *parent = nullptr);
    ~ClockWindow() override;

    // What the controller has it show (see ClockView).
    void showState(const ClockState &state) override;
    void bringToFront() override;
    void showAlarm(const AppointmentInputs &alarm) override;

    // Another start of the program: the clock comes back from the task bar
    // and to the front instead.
    void showInFront();

protected:
    void changeEvent(QEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // The face (clockwindow.cpp).
    void createElements();
    void showDigit(int position, int digit);
    void showLook(const QString &name);
    void showCommands(const ClockState::Commands &commands);
    // Tells the controller where the window stands, once it is the user's place.
    void tellPlace();

    // The menu and the dialogs (clockmenu.cpp).
    void createMenu();
    void openMenu(bool fromKeyboard);
    void enterAppointment();
    void chooseSignal();
    void showAppointmentDialog(AppointmentDialog::Face face, const AppointmentInputs &inputs, bool activate);
    void chooseTimeServer();
    void showAbout();
    void showHelp();
    void returnFromDialog();

    ClockController &m_controller;
    PictureStores m_stores;

    std::array<std::array<PictureElement *, 7>, 4> m_segments{};
    std::array<int, 4> m_digitShown{-1, -1, -1, -1}; // -1 before the first tick
    PictureElement *m_colon = nullptr;
    QLabel *m_appointmentLabel = nullptr;
    QLabel *m_stopwatchLabel = nullptr;
    QMenu *m_menu = nullptr;
    // The menu's items whose state changes.
    QAction *m_startStopwatchAction = nullptr;
    QAction *m_haltStopwatchAction = nullptr;
    QAction *m_clearStopwatchAction = nullptr;
    QAction *m_setClockAction = nullptr;
    OuterSizeKeeper *m_outerSize = nullptr;
    QPointer<AppointmentDialog> m_appointmentDialog;
    QPointer<TimeServerDialog> m_timeServerDialog;
    QPointer<AboutDialog> m_aboutDialog;

    // What the window shows of the controller's state; a text that is the
    // same string as the state's needs no comparing.
    ClockState m_shown;
    bool m_stateShown = false; // once, every part of the state is shown
    bool m_firstShow = true;
    std::unique_ptr<StartPlace> m_startPlace;
    QMetaObject::Connection m_startPlaceTicks;
    bool m_closed = false;               // closed by the user; never shown again
    bool m_returnActivates = false;      // lost activation to one of our own windows
};

} // namespace lumitakt
