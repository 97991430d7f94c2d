#pragma once

#include "clockface/picturestores.h"
#include "platform/services.h"
#include "platform/startup.h"
#include "settings/settingskeeper.h"
#include "stopwatch/stopuhr.h"
#include "timesync/timesync.h"

#include <QDate>
#include <QDateTime>
#include <QPointer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <optional>

class QAction;
class QLabel;
class QMenu;
class QTimer;

namespace lumitakt {

class HelpKey;
class Info;
class Synchron;
class Termin;
class OuterSizeKeeper;
class PictureElement;
struct SharedState;
struct TimeSnapshot;

// The clock window: four seven-segment digits and a blinking colon made of
// pictures, two labels under them, and the popup menu through which every
// command is reached. Handler names follow the element and event they serve.
class Lumitakt final : public QWidget {
    Q_OBJECT
public:
    Lumitakt(SharedState &state, Services services, ProgramFiles files, QWidget *parent = nullptr);
    ~Lumitakt() override;

    // Handlers.
    void Form_Activate();
    void Form_KeyPress(char16_t KeyAscii);
    void Form_MouseDown(Qt::MouseButton Button);
    void Timer_Timer();
    void MenuEigenschaftenMinimieren_Click();
    void MenuHilfe_Click();
    void MenuEigenschaftenLEDrot_Click();
    void MenuEigenschaftenLEDgruen_Click();
    void MenuEigenschaftenLEDBlau_Click();
    void MenuEigenschaftenLEDoliv_Click();
    void MenuEigenschaftenLCD_Click();
    void MenuEigenschaftenLCDlight_Click();
    void MenuTerminEingeben_Click();
    void MenuTerminLoeschen_Click();
    void MenuTerminSignal_Click();
    void MenuEigenschaftenSynronisieren_Click();
    void MenuEigenschaftenSynronisierenMit_Click();
    void MenuInfo_Click();
    void MenuStopuhrStarten_Click();
    void MenuStopuhrAnhalten_Click();
    void MenuStopuhrLoeschen_Click();

    // Routines.
    void Farbwahl(const QString &Farbe);
    void UhrzeitSyncronisieren(SyncRequest request);
    void ZifferZeigen(int position, std::int16_t value);

    // Elements, for the other parts of the program and for tests.
    PictureElement *segment(int position, int index) const;
    PictureElement *trennzeichen() const { return m_trennzeichen; }
    QLabel *lblTermin() const { return m_lblTermin; }
    QLabel *lblStopuhr() const { return m_lblStopuhr; }
    QMenu *popupMenu() const { return m_menu; }
    QAction *menuItem(const QString &name) const;
    QTimer *timer() const { return m_timer; }
    Termin *termin() const;
    Synchron *synchron() const;
    Info *info() const;
    const PictureStores &pictureStores() const { return m_stores; }

    QString helpFile() const;
    const Stopuhr &stopuhr() const { return m_stopuhr; }

    // The outer height the window has at this moment's state.
    int activationHeight() const;

    // Writes the settings file if a kept value changed since it was last
    // written: for the ways out of the program other than the close button.
    void saveSettings();

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    void Form_Unload();

    void createElements();
    void createMenu();
    void openPopupMenu(bool fromKeyboard);
    void describeLabels();
    void chooseScheme(const char16_t *name);
    void applyStopuhrMenu(const Stopuhr::Menu &menu);
    void zeigeTermin(bool activate);
    void returnFromDialog();
    int minuteNow() const;
    void settleStartPlace(bool minimised);
    void rememberPlace();
    Settings currentSettings() const;

    SharedState &m_state;
    Services m_services;
    ProgramFiles m_files;
    PictureStores m_stores;

    std::array<std::array<PictureElement *, 7>, 4> m_segments{};
    // The value each position last showed through ZifferZeigen; -1 before the first.
    std::array<int, 4> m_digitShown{-1, -1, -1, -1};
    PictureElement *m_trennzeichen = nullptr;
    QLabel *m_lblTermin = nullptr;
    QLabel *m_lblStopuhr = nullptr;
    QTimer *m_timer = nullptr;
    QMenu *m_menu = nullptr;
    HelpKey *m_helpKey = nullptr;
    OuterSizeKeeper *m_outerSize = nullptr;
    QPointer<Termin> m_termin;
    QPointer<Synchron> m_synchron;
    QPointer<Info> m_info;
    std::optional<SettingsKeeper> m_settingsKeeper;

    Stopuhr m_stopuhr;

    bool m_activating = false;       // Form_Activate is running
    bool m_firstShow = true;
    // What the caption was last built from: the date, and the minute while minimised.
    struct CaptionKey {
        QDate date;
        int minute = -2;
        bool operator==(const CaptionKey &) const = default;
    };
    CaptionKey m_captionKey;
    CaptionKey m_spokenKey;           // the date and minute the accessible name says
    QDateTime m_previousTick;         // when the last tick ran
    QDateTime m_lateAlarmEnd;         // end of the minute of an alarm rung late
    std::optional<QPoint> m_startPlace; // the place from the settings file, until settled
    int m_startTicks = 0;
    bool m_closed = false;           // closed by the user; never shown again
    bool m_returnActivates = false;  // lost activation to one of our own windows
};

} // namespace lumitakt
