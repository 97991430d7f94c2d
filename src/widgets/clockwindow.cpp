#include "widgets/clockwindow.h"

#include "control/clockcontroller.h"
#include "face/looks.h"
#include "face/segmentpictures.h"
#include "model/digits.h"
#include "widgets/accessibility.h"
#include "widgets/fonts.h"
#include "widgets/outersize.h"
#include "widgets/pictureelement.h"
#include "widgets/startplace.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

#include <utility>

namespace lumitakt {

namespace {

// Pixel geometry of the clock face (15 twips to the pixel).
// Left edge of each digit's left bars, for positions 1..4, and the top of
// the top bars; the segments stand in their digit at segmentOffset.
constexpr std::array<int, 4> kDigitLeft{10, 48, 108, 146};
constexpr int kDigitTop = 8;
constexpr QPoint kColonPos{88, 20};
constexpr QRect kAppointmentLabelRect{12, 64, 75, 15};
constexpr QRect kStopwatchLabelRect{144, 64, 33, 15};
constexpr QRgb kLabelStartColour = qRgb(192, 192, 192);
// Arial 8.25 pt at the 96 dpi (15 twips to the pixel) that the layout assumes.
constexpr int kLabelFontPixels = 11;

} // namespace

ClockWindow::ClockWindow(ClockController &controller, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                          | Qt::WindowStaysOnTopHint),
      m_controller(controller)
{
    reportWithoutPictures(this);
    createElements();
    createMenu();
    // The window stands where the settings file put it; the window manager
    // may still move it while it frames it.
    m_startPlace = std::make_unique<StartPlace>(this, m_controller.model().settings().place);
    // Ticks drive it only until it settles.
    m_startPlaceTicks = connect(&m_controller, &ClockController::ticked, this, [this] {
        if (m_startPlace->tick(isMinimized())) {
            disconnect(m_startPlaceTicks);
            tellPlace();
        }
    });
    m_controller.start(*this);
}

ClockWindow::~ClockWindow()
{
    m_controller.stop();
}

void ClockWindow::createElements()
{
    setObjectName(QStringLiteral("Lumitakt"));
    setWindowTitle(QStringLiteral(" Lumitakt"));
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
            element->move(QPoint(kDigitLeft[static_cast<std::size_t>(p - 1)], kDigitTop) + segmentOffset(j));
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
}

void ClockWindow::showDigit(int position, int digit)
{
    const SegmentPattern pattern = segmentPattern(digit);
    for (int j = 1; j <= kSegmentCount; ++j)
        m_segments[static_cast<std::size_t>(position - 1)][static_cast<std::size_t>(j - 1)]->setVisible(segmentLit(pattern, j));
    m_digitShown[static_cast<std::size_t>(position - 1)] = digit;
}

void ClockWindow::showState(const ClockState &state)
{
    // A closed clock window is never brought back.
    if (m_closed)
        return;
    const bool all = !std::exchange(m_stateShown, true);
    // The state's texts change seldom and are mostly the very strings shown.
    const auto changed = [all](const QString &shown, const QString &next) {
        return all || (!next.isSharedWith(shown) && next != shown);
    };

    // The face. A position that already shows its digit is left as it is;
    // before the first tick the face keeps what it starts with.
    m_colon->setVisible(state.colonShown);
    for (int p = 1; p <= kDigitPositions; ++p) {
        const int digit = state.digits[static_cast<std::size_t>(p - 1)];
        if (digit >= 0 && m_digitShown[static_cast<std::size_t>(p - 1)] != digit)
            showDigit(p, digit);
    }
    if (!state.caption.isEmpty() && changed(m_shown.caption, state.caption))
        setWindowTitle(m_shown.caption = state.caption);
    if (!state.spokenName.isEmpty() && changed(m_shown.spokenName, state.spokenName))
        setAccessibleName(m_shown.spokenName = state.spokenName);

    // The row of labels, and the window's outer size with it.
    if (all || state.tall != m_shown.tall)
        m_outerSize->setSize({kShortSize.width(), true, (m_shown.tall = state.tall) ? kTallHeight : kShortSize.height(), true});
    if (changed(m_shown.appointmentText, state.appointmentText))
        m_appointmentLabel->setText(m_shown.appointmentText = state.appointmentText);
    if (all || state.appointmentShown != m_shown.appointmentShown)
        m_appointmentLabel->setVisible(m_shown.appointmentShown = state.appointmentShown);
    if (changed(m_shown.stopwatchText, state.stopwatchText))
        m_stopwatchLabel->setText(m_shown.stopwatchText = state.stopwatchText);
    if (all || state.stopwatchShown != m_shown.stopwatchShown)
        m_stopwatchLabel->setVisible(m_shown.stopwatchShown = state.stopwatchShown);
    if (changed(m_shown.labelsDescription, state.labelsDescription))
        setAccessibleDescription(m_shown.labelsDescription = state.labelsDescription);

    if (all || state.commands != m_shown.commands)
        showCommands(m_shown.commands = state.commands);
    if (changed(m_shown.look, state.look))
        showLook(m_shown.look = state.look);
}

void ClockWindow::bringToFront()
{
    // A minimised clock stays minimised: window managers take a request to
    // raise it as one to restore it. A closed one is never brought back.
    if (!m_closed && !isVisible())
        show();
    if (!m_closed && !isMinimized())
        raise();
}

void ClockWindow::showLook(const QString &name)
{
    // A name the program does not know (an edited settings file) changes nothing.
    const Look *look = findLook(name);
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

void ClockWindow::tellPlace()
{
    // Only a place the user gave counts: not while the start place may
    // still be asserted, and not the window system's place of a minimised window.
    if (m_startPlace && m_startPlace->settled() && !isMinimized())
        m_controller.viewMoved(pos());
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
        m_controller.userReturned();
    }
}

void ClockWindow::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    tellPlace();
}

void ClockWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        m_controller.viewMinimised(isMinimized());
        tellPlace();
        return;
    }
    if (event->type() != QEvent::ActivationChange)
        return;
    // The window shows its state again when the user returns to it from one
    // of the program's own windows (a dialog), not from other programs.
    if (isActiveWindow()) {
        if (m_returnActivates) {
            m_returnActivates = false;
            m_controller.userReturned();
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
        // The window and its tick go away; dialogs still open keep the program running.
        m_closed = true;
        m_controller.viewClosed();
    }
    event->accept();
}

} // namespace lumitakt
