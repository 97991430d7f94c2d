#include "mainwindow/lumitakt.h"

#include "about/info.h"
#include "appointment/appointment.h"
#include "appointment/termin.h"
#include "clockface/colourschemes.h"
#include "clockface/digits.h"
#include "clockface/pictureelement.h"
#include "clockface/segmentpictures.h"
#include "windowkit/clocktexts.h"
#include "mainwindow/helpkey.h"
#include "windowkit/accessibility.h"
#include "windowkit/outersize.h"
#include "platform/clock.h"
#include "platform/commandstarter.h"
#include "platform/soundplayer.h"
#include "platform/startup.h"
#include "settings/settingsfile.h"
#include "timesync/synchron.h"
#include "timesync/timesync.h"
#include "sharedstate.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QScreen>
#include <QTimer>

namespace lumitakt {

namespace {

// Pixel geometry of the clock face (15 twips to the pixel).
// Left edge of each digit's left bars, for positions 1..4.
constexpr std::array<int, 4> kDigitLeft{10, 48, 108, 146};
// Each segment's offset from its digit's left edge, and its top.
struct SegmentPlace {
    int dx;
    int top;
};
constexpr std::array<SegmentPlace, 7> kSegmentPlace{{
    {2, 8},   // 1 top
    {0, 10},  // 2 upper left
    {23, 10}, // 3 upper right
    {5, 31},  // 4 middle
    {0, 36},  // 5 lower left
    {23, 36}, // 6 lower right
    {2, 54},  // 7 bottom
}};
constexpr QPoint kColonPos{88, 20};
constexpr QRect kLblTerminRect{12, 64, 75, 15};
constexpr QRect kLblStopuhrRect{144, 64, 33, 15};
constexpr QRgb kLabelStartColour = qRgb(192, 192, 192);
// Arial 8.25 pt at the 96 dpi (15 twips to the pixel) that the layout assumes.
constexpr int kLabelFontPixels = 11;

// Outer window sizes in pixels: short, and tall while a label row is shown.
constexpr int kOuterWidth = 200;
constexpr int kShortHeight = 96;
constexpr int kTallHeight = 105;
// The window size in twips against which a saved position is tested at start.
constexpr QSize kLoadSizeTwips{2940, 1470};

constexpr int kTickMs = 500;
// How many ticks the start place may still be asserted after the window was framed.
constexpr int kSettleTicks = 10;

} // namespace

Lumitakt::Lumitakt(SharedState &state, Services services, ProgramFiles files, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                          | Qt::WindowStaysOnTopHint),
      m_state(state), m_services(services), m_files(std::move(files)), m_stopuhr(state)
{
    installAccessibility();
    reportWithoutPictures(this);
    createElements();
    createMenu();
    Form_Load();
}

Lumitakt::~Lumitakt() = default;

void Lumitakt::createElements()
{
    setObjectName(QStringLiteral("Lumitakt"));
    setWindowTitle(QStringLiteral(" Lumitakt"));
    // One icon for all of the program's windows, the dialogs included: Qt
    // caches an icon's pixmaps by the picture they come from, so a picture
    // made anew for every dialog would leave a cache entry behind each time.
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(iconPicture())));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::black);
    setPalette(palette);
    // Keys go to the window itself; none of its elements takes the focus.
    setFocusPolicy(Qt::StrongFocus);
    resize(kOuterWidth, kShortHeight);
    m_outerSize = new OuterSizeKeeper(this);

    for (int p = 1; p <= kDigitPositions; ++p) {
        const QString name = QStringLiteral("Segment") + QString::number(p);
        for (int j = 1; j <= kSegmentCount; ++j) {
            auto *element = new PictureElement(this, name, j);
            const SegmentPlace place = kSegmentPlace[static_cast<std::size_t>(j - 1)];
            element->move(kDigitLeft[static_cast<std::size_t>(p - 1)] + place.dx, place.top);
            element->setPicture(m_stores.startSegment(j));
            m_segments[static_cast<std::size_t>(p - 1)][static_cast<std::size_t>(j - 1)] = element;
        }
    }

    m_trennzeichen = new PictureElement(this, QStringLiteral("Trennzeichen"));
    m_trennzeichen->move(kColonPos);
    m_trennzeichen->setPicture(m_stores.startColon());

    QFont labelFont(QStringLiteral("Arial"));
    labelFont.setPixelSize(kLabelFontPixels);
    labelFont.setWeight(QFont::Normal);
    const auto makeLabel = [&](const QString &name, const QString &caption, QRect rect, Qt::Alignment align) {
        auto *label = new QLabel(caption, this);
        label->setObjectName(name);
        label->setGeometry(rect);
        label->setFont(labelFont);
        label->setAlignment(align | Qt::AlignTop);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(false);
        label->setFocusPolicy(Qt::NoFocus);
        QPalette labelPalette = label->palette();
        labelPalette.setColor(QPalette::WindowText, QColor(kLabelStartColour));
        label->setPalette(labelPalette);
        label->hide();
        return label;
    };
    m_lblTermin = makeLabel(QStringLiteral("lblTermin"), QStringLiteral("Termin 00:00"), kLblTerminRect, Qt::AlignLeft);
    m_lblStopuhr = makeLabel(QStringLiteral("lblStopuhr"), QStringLiteral("00:00"), kLblStopuhrRect, Qt::AlignRight);

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer"));
    m_timer->setInterval(kTickMs);
    connect(m_timer, &QTimer::timeout, this, &Lumitakt::Timer_Timer);
    m_timer->start();
}

void Lumitakt::createMenu()
{
    // The root "Menu" is never shown as a menu bar; it is the popup menu.
    m_menu = new QMenu(QStringLiteral("Menu"), this);
    m_menu->setObjectName(QStringLiteral("Menu"));

    const auto item = [](QMenu *menu, const char16_t *name, const char16_t *caption, bool enabled = true) {
        QAction *action = menu->addAction(QString::fromUtf16(caption));
        action->setObjectName(QString::fromUtf16(name));
        action->setEnabled(enabled);
        return action;
    };
    const auto separator = [](QMenu *menu, const char16_t *name) {
        QAction *action = menu->addSeparator();
        action->setObjectName(QString::fromUtf16(name));
    };

    connect(item(m_menu, u"MenuTerminEingeben", u"&Termin eingeben          "), &QAction::triggered, this,
            &Lumitakt::MenuTerminEingeben_Click);
    connect(item(m_menu, u"MenuTerminLöschen", u"Termin l&öschen"), &QAction::triggered, this,
            &Lumitakt::MenuTerminLoeschen_Click);
    separator(m_menu, u"Line1");
    connect(item(m_menu, u"MenuStopuhrStarten", u"Stopuhr &starten"), &QAction::triggered, this,
            &Lumitakt::MenuStopuhrStarten_Click);
    connect(item(m_menu, u"MenuStopuhrAnhalten", u"Stopuhr &anhalten", false), &QAction::triggered, this,
            &Lumitakt::MenuStopuhrAnhalten_Click);
    connect(item(m_menu, u"MenuStopuhrLöschen", u"Stopuhr &löschen", false), &QAction::triggered, this,
            &Lumitakt::MenuStopuhrLoeschen_Click);
    separator(m_menu, u"L2");

    QMenu *properties = m_menu->addMenu(QStringLiteral("&Eigenschaften..."));
    properties->setObjectName(QStringLiteral("MenuEigenschaften"));
    properties->menuAction()->setObjectName(QStringLiteral("MenuEigenschaften"));
    connect(item(properties, u"MenuTerminSignal", u"Termin signalisieren..."), &QAction::triggered, this,
            &Lumitakt::MenuTerminSignal_Click);
    separator(properties, u"L7");
    connect(item(properties, u"MenuEigenschaftenLEDrot", u"LED rot      "), &QAction::triggered, this,
            &Lumitakt::MenuEigenschaftenLEDrot_Click);
    connect(item(properties, u"MenuEigenschaftenLEDgrün", u"LED grün"), &QAction::triggered, this,
            &Lumitakt::MenuEigenschaftenLEDgruen_Click);
    connect(item(properties, u"MenuEigenschaftenLEDBlau", u"LED blau"), &QAction::triggered, this,
            &Lumitakt::MenuEigenschaftenLEDBlau_Click);
    connect(item(properties, u"MenuEigenschaftenLEDoliv", u"LED oliv"), &QAction::triggered, this,
            &Lumitakt::MenuEigenschaftenLEDoliv_Click);
    connect(item(properties, u"MenuEigenschaftenLCD", u"LCD"), &QAction::triggered, this,
            &Lumitakt::MenuEigenschaftenLCD_Click);
    connect(item(properties, u"MenuEigenschaftenLCDlight", u"LCD beleuchtet"), &QAction::triggered, this,
            &Lumitakt::MenuEigenschaftenLCDlight_Click);
    separator(properties, u"L3");
    connect(item(properties, u"MenuEigenschaftenSynronisierenMit", u"synchronisieren mit ..."), &QAction::triggered, this,
            &Lumitakt::MenuEigenschaftenSynronisierenMit_Click);

    separator(m_menu, u"L4");
    connect(item(m_menu, u"MenuEigenschaftenSynronisieren", u"s&ynchronisieren"), &QAction::triggered, this,
            &Lumitakt::MenuEigenschaftenSynronisieren_Click);
    separator(m_menu, u"L5");
    connect(item(m_menu, u"MenuHilfe", u"&Hilfe"), &QAction::triggered, this, &Lumitakt::MenuHilfe_Click);
    connect(item(m_menu, u"MenuInfo", u"&Info über ..."), &QAction::triggered, this, &Lumitakt::MenuInfo_Click);
    separator(m_menu, u"L6");
    connect(item(m_menu, u"MenuEigenschaftenMinimieren", u"&minimieren"), &QAction::triggered, this,
            &Lumitakt::MenuEigenschaftenMinimieren_Click);
}

QAction *Lumitakt::menuItem(const QString &name) const
{
    return m_menu->findChild<QAction *>(name);
}

PictureElement *Lumitakt::segment(int position, int index) const
{
    if (position < 1 || position > kDigitPositions || index < 1 || index > kSegmentCount)
        return nullptr;
    return m_segments[static_cast<std::size_t>(position - 1)][static_cast<std::size_t>(index - 1)];
}

QString Lumitakt::helpFile() const
{
    return m_files.dataFolder + QStringLiteral("/Lumitakt.html");
}

void Lumitakt::Form_Load()
{
    m_helpKey = new HelpKey(m_services.help, helpFile(), this);
    qApp->installEventFilter(m_helpKey);
    m_state.IniDatei = m_files.settingsFile;

    // The defaults, replaced by whatever the settings file holds.
    Settings settings;
    settings.FarbSchema = QString::fromUtf16(kDefaultFarbSchema);
    settings.SignalModus = kDefaultSignalModus;
    readSettingsFile(m_state.IniDatei).applyTo(settings);
    m_state.FarbSchema = settings.FarbSchema;
    m_state.Zeitserver = settings.Zeitserver;
    m_state.SignalModus = settings.SignalModus;

    // The saved position is tested against the screens with the size the
    // window has at load.
    QList<QRect> screensTwips;
    if (const QScreen *primary = QGuiApplication::primaryScreen()) {
        screensTwips.append(QRect(primary->geometry().topLeft() * kTwipsPerPixel, primary->geometry().size() * kTwipsPerPixel));
        for (const QScreen *screen : QGuiApplication::screens())
            if (screen != primary)
                screensTwips.append(QRect(screen->geometry().topLeft() * kTwipsPerPixel, screen->geometry().size() * kTwipsPerPixel));
    }
    const QPoint placeTwips = keepOnScreens(QPoint(settings.left, settings.top), screensTwips, kLoadSizeTwips);
    m_startPlace = QPoint(twipsToPixels(placeTwips.x()), twipsToPixels(placeTwips.y()));
    move(*m_startPlace);
    // The place kept is the one the window was given, from the start: a run
    // that ends before its first tick must not write 0, 0 over the saved place.
    m_state.FensterLinks = placeTwips.x();
    m_state.FensterOben = placeTwips.y();
    m_settingsKeeper.emplace(m_state.IniDatei, currentSettings());

    m_state.TerminGesetzt = false;
    m_state.TerminQuittiert = false;
    m_stopuhr.reset(minuteNow());
}

int Lumitakt::minuteNow() const
{
    return minuteOfDay(TimeSnapshot::of(m_services.clock.now()).timeText);
}

int Lumitakt::activationHeight() const
{
    return (m_state.TerminGesetzt || m_state.StopuhrLaeuft) ? kTallHeight : kShortHeight;
}

void Lumitakt::Form_Activate()
{
    // Commands call this directly; it must never set off another activation.
    // A closed clock window is never brought back.
    if (m_activating || m_closed)
        return;
    const QScopedValueRollback<bool> guard(m_activating, true);

    menuItem(QStringLiteral("MenuEigenschaftenSynronisieren"))->setEnabled(!m_state.Zeitserver.isEmpty());
    // Topmost at its current position, with its outer size for the state.
    m_outerSize->setSize({kOuterWidth, true, activationHeight(), true});
    if (!isVisible())
        show();
    // A minimised clock stays minimised: window managers take a request to
    // raise it as one to restore it.
    if (!isMinimized())
        raise();
    m_lblTermin->setText(QStringLiteral("Termin   ") + m_state.TerminZeit);
    m_lblTermin->setVisible(m_state.TerminGesetzt);
    m_lblStopuhr->setVisible(m_state.StopuhrLaeuft);
    describeLabels();
    Farbwahl(m_state.FarbSchema);
}

void Lumitakt::describeLabels()
{
    const QString description = spokenClockDescription({m_state.TerminGesetzt, m_state.TerminZeit, m_state.TerminText,
                                                        m_state.StopuhrLaeuft || m_state.StopuhrAngehalten, m_state.StopuhrAngehalten,
                                                        m_stopuhr.StopuhrMinuten()});
    if (description != accessibleDescription())
        setAccessibleDescription(description);
}

void Lumitakt::Form_KeyPress(char16_t KeyAscii)
{
    if (KeyAscii == u'M')
        openPopupMenu(true);
    else if (KeyAscii == u'm')
        showMinimized();
}

void Lumitakt::Form_MouseDown(Qt::MouseButton Button)
{
    if (Button == Qt::LeftButton)
        showMinimized();
    else
        openPopupMenu(false);
}

void Lumitakt::openPopupMenu(bool fromKeyboard)
{
    m_menu->popup(QCursor::pos());
    // Opened from the keyboard, its first item is active, so that a screen
    // reader reads it at once and the arrow keys start from there.
    if (fromKeyboard)
        m_menu->setActiveAction(m_menu->actions().value(0));
}

void Lumitakt::MenuEigenschaftenMinimieren_Click()
{
    showMinimized();
}

void Lumitakt::MenuHilfe_Click()
{
    // Like a press of F1 in the active window, delivered after this command.
    QWidget *target = QApplication::activeWindow();
    QCoreApplication::postEvent(target ? target : this, new QKeyEvent(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier));
}

void Lumitakt::Form_Unload()
{
    // A move since the last tick counts too, once the place is the user's;
    // before that the window may not stand where it was put yet.
    if (!m_startPlace && !isMinimized())
        rememberPlace();
    // A file that cannot be written loses this run's choices but never stops
    // the program from ending, and never damages the file already there.
    m_settingsKeeper->write(currentSettings());
}

void Lumitakt::rememberPlace()
{
    // A place in twips that the window could not take exactly (the pixel
    // grid is coarser) is kept as it is until the window really moves.
    const QPoint at = pos();
    if (twipsToPixels(m_state.FensterLinks) != at.x())
        m_state.FensterLinks = at.x() * kTwipsPerPixel;
    if (twipsToPixels(m_state.FensterOben) != at.y())
        m_state.FensterOben = at.y() * kTwipsPerPixel;
}

Settings Lumitakt::currentSettings() const
{
    return {m_state.FarbSchema, m_state.FensterLinks, m_state.FensterOben, m_state.Zeitserver, m_state.SignalModus};
}

void Lumitakt::saveSettings()
{
    m_settingsKeeper->saveChanges(currentSettings());
}

void Lumitakt::Timer_Timer()
{
    const QDateTime clockNow = m_services.clock.now();
    const TimeSnapshot now = TimeSnapshot::of(clockNow);

    // 1. The colon blinks: shown one tick, hidden the next.
    m_trennzeichen->setHidden(!m_trennzeichen->isHidden());

    // 2. Remember where the window stands while it is not minimised.
    const bool minimised = isMinimized();
    settleStartPlace(minimised);
    if (!minimised)
        rememberPlace();
    // Whatever the user changed reaches the settings file within seconds.
    m_settingsKeeper->tick(currentSettings());

    // 3. Every ten minutes the computer's clock is set from the time server,
    // once: the second tick within second 0 leaves it to the first.
    if (syncDue(now.minute, now.second)
        && !(m_previousTick.isValid() && m_previousTick.toSecsSinceEpoch() == clockNow.toSecsSinceEpoch()))
        UhrzeitSyncronisieren(SyncRequest::ByTick);

    // 4. The caption carries the date, and the time while minimised. It is
    // only built anew when what it shows can have changed.
    const int minute = minuteOfDay(now.timeText);
    const CaptionKey key{now.date, minimised ? minute : -1};
    if (key != m_captionKey) {
        m_captionKey = key;
        setWindowTitle(minimised ? minimisedCaption(now.date, now.timeText) : normalCaption(now.date));
    }
    // What a screen reader says for the window: the time and the date.
    const CaptionKey spoken{now.date, minute};
    if (spoken != m_spokenKey) {
        m_spokenKey = spoken;
        setAccessibleName(spokenClockName(now.date, now.timeText));
    }

    // 5. A due appointment shows the alarm and sounds, once or on every tick.
    // One whose minute no tick saw (the computer slept through it, or its
    // clock was set ahead) is due now, for a minute, as if it had just begun.
    if (terminVerpasst(m_state, m_previousTick, clockNow))
        m_lateAlarmEnd = clockNow.addSecs(60);
    m_previousTick = clockNow;
    const bool late = m_lateAlarmEnd.isValid() && clockNow < m_lateAlarmEnd && clockNow >= m_lateAlarmEnd.addSecs(-60)
                      && !m_state.TerminQuittiert && !m_state.TerminZeit.isEmpty();
    if (late || terminFaellig(m_state, now.hoursAndMinutes())) {
        m_state.TerminModus = 2;
        zeigeTermin(false);
        if (signalisieren(m_state))
            m_services.sound.play(m_files.dataFolder + QStringLiteral("/Termin.wav"));
    }

    // 6. The four digits; a position that already shows its value is left as it is.
    for (int p = 1; p <= kDigitPositions; ++p) {
        const std::int16_t value = digitValue(now.timeText.at(kTimeTextIndex[static_cast<std::size_t>(p - 1)]));
        if (m_digitShown[static_cast<std::size_t>(p - 1)] != value)
            ZifferZeigen(p, value);
    }

    // 7. The stopwatch counts a changed minute; halted, its label blinks.
    if (const std::optional<QString> text = m_stopuhr.step(minute)) {
        m_lblStopuhr->setText(*text);
        describeLabels();
    }
    switch (m_stopuhr.labelAfterStep()) {
    case Stopuhr::Label::Toggle:
        m_lblStopuhr->setHidden(!m_lblStopuhr->isHidden());
        break;
    case Stopuhr::Label::Show:
        m_lblStopuhr->show();
        break;
    case Stopuhr::Label::Keep:
        break;
    }
}

void Lumitakt::MenuTerminEingeben_Click()
{
    m_state.TerminModus = 1;
    zeigeTermin(true);
    setEnabled(false);
}

void Lumitakt::MenuTerminSignal_Click()
{
    m_state.TerminModus = 3;
    zeigeTermin(true);
    setEnabled(false);
}

void Lumitakt::MenuTerminLoeschen_Click()
{
    m_state.TerminZeit.clear();
    m_state.TerminGesetzt = false;
    Form_Activate();
}

Termin *Lumitakt::termin() const
{
    return m_termin;
}

void Lumitakt::zeigeTermin(bool activate)
{
    // Created on first show, in the face TerminModus names; an open dialog
    // keeps its face and only comes to the front.
    if (!m_termin) {
        m_termin = new Termin(m_state, m_services.clock, this);
        connect(m_termin, &Termin::unloaded, this, &Lumitakt::returnFromDialog);
        m_termin->show();
        return;
    }
    m_termin->show();
    m_termin->raise();
    if (activate)
        m_termin->activateWindow();
}

void Lumitakt::returnFromDialog()
{
    // Back from a dialog: the clock becomes the active window again, and its
    // activation shows the new state (labels, height, menu). A minimised
    // clock stays minimised: asking for it to be active would make the
    // window manager restore it, and only the user restores it.
    QTimer::singleShot(0, this, [this] {
        if (m_closed)
            return;
        if (!isMinimized())
            activateWindow();
        Form_Activate();
    });
}

void Lumitakt::UhrzeitSyncronisieren(SyncRequest request)
{
    // Started and forgotten: nothing of its result is used, and a command
    // that cannot start changes nothing. A check comes first where the
    // user may not be asked; the command follows only if it allows it.
    const std::optional<SyncPlan> plan = syncPlan(m_state.Zeitserver, request, m_services.commands.startsAsRoot(), m_files.helperFolder,
                                                  QCoreApplication::applicationPid());
    if (!plan)
        return;
    if (!plan->check) {
        m_services.commands.start(plan->command.program, plan->command.arguments);
        return;
    }
    CommandStarter &commands = m_services.commands;
    commands.run(plan->check->program, plan->check->arguments, [&commands, command = plan->command](int exitCode) {
        if (exitCode == 0)
            commands.start(command.program, command.arguments);
    });
}

void Lumitakt::MenuEigenschaftenSynronisieren_Click()
{
    UhrzeitSyncronisieren(SyncRequest::ByUser);
}

void Lumitakt::MenuEigenschaftenSynronisierenMit_Click()
{
    if (!m_synchron) {
        m_synchron = new Synchron(m_state, this);
        connect(m_synchron, &Synchron::unloaded, this, &Lumitakt::returnFromDialog);
    }
    m_synchron->show();
    m_synchron->raise();
    m_synchron->activateWindow();
    setEnabled(false);
}

void Lumitakt::MenuInfo_Click()
{
    setEnabled(false);
    if (!m_info) {
        m_info = new Info(this);
        connect(m_info, &Info::unloaded, this, &Lumitakt::returnFromDialog);
    }
    m_info->show();
    m_info->raise();
    m_info->activateWindow();
}

Info *Lumitakt::info() const
{
    return m_info;
}

Synchron *Lumitakt::synchron() const
{
    return m_synchron;
}

void Lumitakt::MenuStopuhrStarten_Click()
{
    m_state.StopuhrLaeuft = true;
    Form_Activate(); // tall window, label shown
    applyStopuhrMenu(m_stopuhr.start(minuteNow()));
}

void Lumitakt::MenuStopuhrAnhalten_Click()
{
    // Neither halting nor continuing changes the window's height.
    applyStopuhrMenu(m_stopuhr.haltOrContinue());
    describeLabels();
}

void Lumitakt::MenuStopuhrLoeschen_Click()
{
    const Stopuhr::Menu menu = m_stopuhr.clear();
    m_lblStopuhr->setText(Stopuhr::clearedText());
    Form_Activate(); // label hidden, short window unless an appointment is set
    applyStopuhrMenu(menu);
}

void Lumitakt::applyStopuhrMenu(const Stopuhr::Menu &menu)
{
    menuItem(QStringLiteral("MenuStopuhrStarten"))->setEnabled(menu.starten);
    QAction *anhalten = menuItem(QStringLiteral("MenuStopuhrAnhalten"));
    anhalten->setEnabled(menu.anhalten);
    if (menu.anhaltenCaption)
        anhalten->setText(QString::fromUtf16(menu.anhaltenCaption));
    menuItem(QStringLiteral("MenuStopuhrLöschen"))->setEnabled(menu.loeschen);
}

void Lumitakt::settleStartPlace(bool minimised)
{
    // Some window managers, framing the window while it is being placed,
    // leave it elsewhere than asked. Once the frame is there, the place of the
    // settings file is asserted once more; after that, and in any case after
    // the first few seconds, the window is the user's to move.
    if (!m_startPlace)
        return;
    if (++m_startTicks > kSettleTicks) {
        m_startPlace.reset();
        return;
    }
    if (minimised || frameGeometry().size() == size())
        return;
    if (pos() != *m_startPlace)
        move(*m_startPlace);
    m_startPlace.reset();
}

void Lumitakt::ZifferZeigen(int position, std::int16_t value)
{
    const QString pattern = DezToBCD(value);
    for (int j = 1; j <= kSegmentCount; ++j)
        if (PictureElement *element = segment(position, j))
            element->setVisible(segmentLit(pattern, j));
    if (position >= 1 && position <= kDigitPositions)
        m_digitShown[static_cast<std::size_t>(position - 1)] = value;
}

void Lumitakt::Farbwahl(const QString &Farbe)
{
    const ColourScheme *scheme = findScheme(Farbe);
    if (!scheme)
        return;
    for (int j = 1; j <= kSegmentCount; ++j) {
        const QPixmap picture = m_stores.segment(scheme->pictureSet, j);
        for (int p = 1; p <= kDigitPositions; ++p)
            segment(p, j)->setPicture(picture);
    }
    m_trennzeichen->setPicture(m_stores.colon(scheme->pictureSet));

    const auto setColour = [](QWidget *widget, QPalette::ColorRole role, QRgb rgb) {
        if (widget->palette().color(role).rgb() == rgb)
            return;
        QPalette palette = widget->palette();
        palette.setColor(role, QColor(rgb));
        widget->setPalette(palette);
    };
    setColour(this, QPalette::Window, scheme->background);
    setColour(m_lblTermin, QPalette::WindowText, scheme->labelText);
    setColour(m_lblStopuhr, QPalette::WindowText, scheme->labelText);
}

void Lumitakt::chooseScheme(const char16_t *name)
{
    m_state.FarbSchema = QString::fromUtf16(name);
    Farbwahl(m_state.FarbSchema);
    saveSettings();
}

void Lumitakt::MenuEigenschaftenLEDrot_Click()
{
    chooseScheme(u"rot");
}

void Lumitakt::MenuEigenschaftenLEDgruen_Click()
{
    chooseScheme(u"grün");
}

void Lumitakt::MenuEigenschaftenLEDBlau_Click()
{
    chooseScheme(u"blau");
}

void Lumitakt::MenuEigenschaftenLEDoliv_Click()
{
    chooseScheme(u"braun");
}

void Lumitakt::MenuEigenschaftenLCD_Click()
{
    chooseScheme(u"LCD");
}

void Lumitakt::MenuEigenschaftenLCDlight_Click()
{
    chooseScheme(u"LCDlight");
}

void Lumitakt::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_firstShow && !event->spontaneous()) {
        m_firstShow = false;
        Form_Activate();
    }
}

void Lumitakt::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange)
        return;
    // The window is activated again when the user returns to it from one of
    // the program's own windows (a dialog), not from other programs.
    if (isActiveWindow()) {
        if (m_returnActivates) {
            m_returnActivates = false;
            Form_Activate();
        }
    } else {
        const QWidget *now = QApplication::activeWindow();
        m_returnActivates = now && now != this;
    }
}

void Lumitakt::keyPressEvent(QKeyEvent *event)
{
    // The keys with which desktops open a context menu.
    if (event->key() == Qt::Key_Menu || (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier)) {
        openPopupMenu(true);
        return;
    }
    const QString text = event->text();
    if (text.size() == 1)
        Form_KeyPress(text.front().unicode());
    else
        QWidget::keyPressEvent(event);
}

void Lumitakt::mousePressEvent(QMouseEvent *event)
{
    // Only the window's own surface answers; a press on a picture or label
    // element reaches here unhandled and is dropped.
    if (childAt(event->position().toPoint()))
        return;
    Form_MouseDown(event->button());
}

void Lumitakt::closeEvent(QCloseEvent *event)
{
    // Closed once; a request to end the program after that finds it closed.
    if (m_closed) {
        event->accept();
        return;
    }
    Form_Unload();
    // The window and its tick go away; dialogs still open keep the program running.
    m_closed = true;
    m_timer->stop();
    event->accept();
}

} // namespace lumitakt
