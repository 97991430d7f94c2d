#include "widgets/clockwindow.h"

#include "face/looks.h"
#include "widgets/pictureelement.h"
#include "face/segmentpictures.h"
#include "logging.h"
#include "model/clockmodel.h"
#include "model/servername.h"
#include "platform/clock.h"
#include "platform/soundplayer.h"
#include "settings/settingskeeper.h"
#include "widgets/accessibility.h"
#include "widgets/fonts.h"
#include "widgets/helpkey.h"
#include "widgets/outersize.h"
#include "widgets/startplace.h"

#include <QApplication>
#include <QCloseEvent>
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
constexpr QRect kAppointmentLabelRect{12, 64, 75, 15};
constexpr QRect kStopwatchLabelRect{144, 64, 33, 15};
constexpr QRgb kLabelStartColour = qRgb(192, 192, 192);
// Arial 8.25 pt at the 96 dpi (15 twips to the pixel) that the layout assumes.
constexpr int kLabelFontPixels = 11;

constexpr int kTickMs = 500;

} // namespace

QList<QRect> desktopScreens()
{
    QList<QRect> screens;
    if (const QScreen *primary = QGuiApplication::primaryScreen()) {
        screens.append(primary->geometry());
        for (const QScreen *screen : QGuiApplication::screens())
            if (screen != primary)
                screens.append(screen->geometry());
    }
    return screens;
}

ClockWindow::ClockWindow(ClockModel &model, SettingsKeeper &settings, Services services, ProgramFiles files, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                          | Qt::WindowStaysOnTopHint),
      m_model(model), m_settings(settings), m_services(services), m_files(std::move(files)),
      m_timeSetter(services.commands, m_files.helperFolder)
{
    installAccessibility();
    reportWithoutPictures(this);
    createElements();
    createMenu();
    qApp->installEventFilter(new HelpKey(m_services.help, helpFile(), this));
    // The window stands where the settings file put it; the window manager
    // may still move it while it frames it.
    m_startPlace = std::make_unique<StartPlace>(this, m_model.settings().place);
}

ClockWindow::~ClockWindow() = default;

void ClockWindow::createElements()
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
    resize(kShortSize);
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

    m_colon = new PictureElement(this, QStringLiteral("Trennzeichen"));
    m_colon->move(kColonPos);
    m_colon->setPicture(m_stores.startColon());

    const auto makeLabel = [this](const QString &name, const QString &caption, QRect rect, Qt::Alignment align) {
        auto *label = new QLabel(caption, this);
        label->setObjectName(name);
        label->setGeometry(rect);
        label->setFont(arialFont(kLabelFontPixels));
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
    m_appointmentLabel = makeLabel(QStringLiteral("lblTermin"), QStringLiteral("Termin 00:00"), kAppointmentLabelRect, Qt::AlignLeft);
    m_stopwatchLabel = makeLabel(QStringLiteral("lblStopuhr"), Stopwatch::clearedText(), kStopwatchLabelRect, Qt::AlignRight);

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer"));
    m_timer->setInterval(kTickMs);
    connect(m_timer, &QTimer::timeout, this, &ClockWindow::tick);
    m_timer->start();
}

void ClockWindow::tick()
{
    const QDateTime now = m_services.clock.now();
    const bool minimised = isMinimized();
    // Where the window stands is kept while it is not minimised; whatever
    // the user changed reaches the settings file within seconds.
    m_startPlace->tick(minimised);
    if (!minimised)
        m_model.setPlace(pos());
    m_settings.tick(m_model.settings());

    const ClockTick tick = m_model.tick(now, minimised);
    if (tick.setClock)
        m_timeSetter.setClock(m_model.settings().timeServer, SyncRequest::ByTick);
    if (tick.showAlarm) {
        showAppointmentDialog(AppointmentDialog::Face::Alarm, now, false);
        if (tick.playSound)
            m_services.sound.play(m_files.dataFolder + QStringLiteral("/Termin.wav"));
    }
    showTick(tick);
}

void ClockWindow::showTick(const ClockTick &tick)
{
    m_colon->setVisible(tick.colonShown);
    if (tick.caption)
        setWindowTitle(*tick.caption);
    if (tick.spokenName)
        setAccessibleName(*tick.spokenName);
    // A position that already shows its digit is left as it is.
    for (int p = 1; p <= kDigitPositions; ++p)
        if (m_digitShown[static_cast<std::size_t>(p - 1)] != tick.digits[static_cast<std::size_t>(p - 1)])
            showDigit(p, tick.digits[static_cast<std::size_t>(p - 1)]);
    if (tick.stopwatchText) {
        m_stopwatchLabel->setText(*tick.stopwatchText);
        describeLabels();
    }
    switch (tick.stopwatchLabel) {
    case Stopwatch::Label::Toggle:
        m_stopwatchLabel->setHidden(!m_stopwatchLabel->isHidden());
        break;
    case Stopwatch::Label::Show:
        m_stopwatchLabel->show();
        break;
    case Stopwatch::Label::Keep:
        break;
    }
}

void ClockWindow::showDigit(int position, int digit)
{
    const SegmentPattern pattern = segmentPattern(digit);
    for (int j = 1; j <= kSegmentCount; ++j)
        m_segments[static_cast<std::size_t>(position - 1)][static_cast<std::size_t>(j - 1)]->setVisible(segmentLit(pattern, j));
    m_digitShown[static_cast<std::size_t>(position - 1)] = digit;
}

bool ClockWindow::timeServerUsable()
{
    // A name that can be no time server would make "synchronisieren" do
    // nothing: the command is off, as for no name, and the reason said once.
    const QString name = m_model.settings().timeServer.trimmed();
    if (name.isEmpty())
        return false;
    if (isServerName(name.toStdString()))
        return true;
    if (name != m_refusedServer) {
        m_refusedServer = name;
        qCWarning(lcCommands).nospace().noquote()
            << "The time server name \"" << name << "\" is refused: it is neither a host name (letters, digits, hyphens and "
            << "dots; a name with umlauts in its xn-- form) nor an IP address. The clock is not set.";
    }
    return false;
}

void ClockWindow::showState()
{
    // Commands call this directly; it must never set off another one.
    // A closed clock window is never brought back.
    if (m_showingState || m_closed)
        return;
    const QScopedValueRollback<bool> guard(m_showingState, true);

    m_setClockAction->setEnabled(timeServerUsable());
    // Topmost at its current position, with its outer size for the state.
    m_outerSize->setSize({kShortSize.width(), true, m_model.showsLabels() ? kTallHeight : kShortSize.height(), true});
    if (!isVisible())
        show();
    // A minimised clock stays minimised: window managers take a request to
    // raise it as one to restore it.
    if (!isMinimized())
        raise();
    m_appointmentLabel->setText(m_model.appointmentLabel());
    m_appointmentLabel->setVisible(m_model.appointment().isSet());
    m_stopwatchLabel->setVisible(m_model.stopwatch().isRunning());
    describeLabels();
    showLook(findLook(m_model.settings().look));
}

void ClockWindow::describeLabels()
{
    const QString description = m_model.labelsDescription();
    if (description != accessibleDescription())
        setAccessibleDescription(description);
}

void ClockWindow::showLook(const Look *look)
{
    // A name the program does not know (an edited settings file) changes nothing.
    if (!look)
        return;
    for (int j = 1; j <= kSegmentCount; ++j) {
        const QPixmap picture = m_stores.segment(look->pictureSet, j);
        for (auto &digit : m_segments)
            digit[static_cast<std::size_t>(j - 1)]->setPicture(picture);
    }
    m_colon->setPicture(m_stores.colon(look->pictureSet));

    const auto setColour = [](QWidget *widget, QPalette::ColorRole role, QRgb rgb) {
        if (widget->palette().color(role).rgb() == rgb)
            return;
        QPalette palette = widget->palette();
        palette.setColor(role, QColor(rgb));
        widget->setPalette(palette);
    };
    setColour(this, QPalette::Window, look->background);
    setColour(m_appointmentLabel, QPalette::WindowText, look->labelText);
    setColour(m_stopwatchLabel, QPalette::WindowText, look->labelText);
}

void ClockWindow::saveSettings()
{
    m_settings.saveChanges(m_model.settings());
}

void ClockWindow::showInFront()
{
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

void ClockWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_firstShow && !event->spontaneous()) {
        m_firstShow = false;
        showState();
    }
}

void ClockWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange)
        return;
    // The window shows its state again when the user returns to it from one
    // of the program's own windows (a dialog), not from other programs.
    if (isActiveWindow()) {
        if (m_returnActivates) {
            m_returnActivates = false;
            showState();
        }
    } else {
        const QWidget *now = QApplication::activeWindow();
        m_returnActivates = now && now != this;
    }
}

void ClockWindow::keyPressEvent(QKeyEvent *event)
{
    // "M" and the keys with which desktops open a context menu open the
    // menu, "m" minimises.
    if (event->key() == Qt::Key_Menu || (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier)
        || event->text() == u"M") {
        openMenu(true);
        return;
    }
    if (event->text() == u"m") {
        showMinimized();
        return;
    }
    if (event->text().size() != 1)
        QWidget::keyPressEvent(event);
}

void ClockWindow::mousePressEvent(QMouseEvent *event)
{
    // Only the window's own surface answers; a press on a picture or label
    // element reaches here unhandled and is dropped. The left button
    // minimises, any other opens the menu.
    if (childAt(event->position().toPoint()))
        return;
    if (event->button() == Qt::LeftButton)
        showMinimized();
    else
        openMenu(false);
}

void ClockWindow::closeEvent(QCloseEvent *event)
{
    // Closed once; a request to end the program after that finds it closed.
    if (!m_closed) {
        // A move since the last tick counts too, once the place is the
        // user's; before that the window may not stand where it was put yet.
        if (m_startPlace->settled() && !isMinimized())
            m_model.setPlace(pos());
        // A file that cannot be written loses this run's choices but never
        // stops the program from ending, and never damages the file there.
        m_settings.write(m_model.settings());
        // The window and its tick go away; dialogs still open keep the program running.
        m_closed = true;
        m_timer->stop();
    }
    event->accept();
}

} // namespace lumitakt
