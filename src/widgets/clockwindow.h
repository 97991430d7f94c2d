#pragma once

#include "face/picturestores.h"
#include "model/stopwatch.h"
#include "platform/services.h"
#include "platform/startup.h"
#include "platform/timesetter.h"
#include "widgets/appointmentdialog.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QTimer;

namespace lumitakt {

class AboutDialog;
class ClockModel;
class OuterSizeKeeper;
class PictureElement;
class SettingsKeeper;
class StartPlace;
class TimeServerDialog;
struct Look;
struct ClockTick;

// The screens of the desktop in pixels, the primary one first.
QList<QRect> desktopScreens();

// The clock window: four seven-segment digits and a blinking colon made of
// pictures, two labels under them, and the popup menu through which every
// command is reached. It draws what the clock model says and hands the
// user's commands to it; the settings keeper writes what changed.
class ClockWindow final : public QWidget {
    Q_OBJECT
public:
    // The window's outer size in pixels, short and tall (with the row of
    // labels); a saved place is tested against the screens with `kStartSize`.
    static constexpr QSize kShortSize{200, 96};
    static constexpr int kTallHeight = 105;
    static constexpr QSize kStartSize{196, 98};

    ClockWindow(ClockModel &model, SettingsKeeper &settings, Services services, ProgramFiles files, QWidget *parent = nullptr);
    ~ClockWindow() override;

    // One tick of the clock: reads the time once and shows what the model makes of it.
    void tick();
    // Shows the model's state outside the tick: the labels and their row,
    // the look, which menu commands can be used; after every command and
    // whenever the user comes back to the window from one of its dialogs.
    void showState();
    // Writes the settings file if a kept value changed since it was last
    // written: for the ways out of the program other than the close button.
    void saveSettings();
    // Another start of the program: the clock comes back from the task bar
    // and to the front instead.
    void showInFront();

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // Whether "synchronisieren" can do something with the stored name.
    bool timeServerUsable();
    // The face (clockwindow.cpp).
    void createElements();
    void showDigit(int position, int digit);
    void showLook(const Look *look);
    void showTick(const ClockTick &tick);
    void describeLabels();

    // The menu and its commands (clockmenu.cpp).
    void createMenu();
    void openMenu(bool fromKeyboard);
    void chooseLook(const Look &look);
    void enterAppointment();
    void deleteAppointment();
    void chooseSignal();
    void showAppointmentDialog(AppointmentDialog::Face face, const QDateTime &now, bool activate);
    void startStopwatch();
    void haltOrContinueStopwatch();
    void clearStopwatch();
    void applyStopwatchMenu(const Stopwatch::Menu &menu);
    void setClockNow();
    void chooseTimeServer();
    void showAbout();
    void showHelp();
    QString helpFile() const { return m_files.dataFolder + QStringLiteral("/Lumitakt.html"); }
    void returnFromDialog();

    ClockModel &m_model;
    SettingsKeeper &m_settings;
    Services m_services;
    ProgramFiles m_files;
    TimeSetter m_timeSetter;
    PictureStores m_stores;

    std::array<std::array<PictureElement *, 7>, 4> m_segments{};
    std::array<int, 4> m_digitShown{-1, -1, -1, -1}; // -1 before the first tick
    PictureElement *m_colon = nullptr;
    QLabel *m_appointmentLabel = nullptr;
    QLabel *m_stopwatchLabel = nullptr;
    QTimer *m_timer = nullptr;
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

    bool m_showingState = false;         // showState is running
    QString m_refusedServer;             // the time server name last said to be refused
    bool m_firstShow = true;
    std::unique_ptr<StartPlace> m_startPlace;
    bool m_closed = false;               // closed by the user; never shown again
    bool m_returnActivates = false;      // lost activation to one of our own windows
};

} // namespace lumitakt
