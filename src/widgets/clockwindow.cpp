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
#include <QScopedValueRollback>

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

ClockView::Standing ClockWindow::standing()
{
    const bool minimised = isMinimized();
    m_startPlace->tick(minimised);
    return {minimised, pos()};
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
    // A halted stopwatch blinks its label, a running one shows it, a cleared
    // one leaves it as the last command did.
    switch (tick.stopwatch) {
    case Stopwatch::State::Halted:
        m_stopwatchLabel->setHidden(!m_stopwatchLabel->isHidden());
        break;
    case Stopwatch::State::Running:
        m_stopwatchLabel->show();
        break;
    case Stopwatch::State::Cleared:
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

void ClockWindow::showState()
{
    // Commands call this directly; it must never set off another one.
    // A closed clock window is never brought back.
    if (m_showingState || m_closed)
        return;
    const QScopedValueRollback<bool> guard(m_showingState, true);

    // Topmost at its current position, with its outer size for the state.
    const ClockModel &model = m_controller.model();
    m_outerSize->setSize({kShortSize.width(), true, model.showsLabels() ? kTallHeight : kShortSize.height(), true});
    if (!isVisible())
        show();
    // A minimised clock stays minimised: window managers take a request to
    // raise it as one to restore it.
    if (!isMinimized())
        raise();
    m_appointmentLabel->setText(model.appointmentLabel());
    m_appointmentLabel->setVisible(model.appointment().isSet());
    m_stopwatchLabel->setVisible(model.stopwatch().isRunning());
    showCommands();
    showLook();
}

void ClockWindow::describeLabels()
{
    const QString description = m_controller.model().labelsDescription();
    if (description != accessibleDescription())
        setAccessibleDescription(description);
}

void ClockWindow::showLook()
{
    // A name the program does not know (an edited settings file) changes nothing.
    const Look *look = findLook(m_controller.model().settings().look);
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
        const bool placed = m_startPlace->settled() && !isMinimized();
        // The window and its tick go away; dialogs still open keep the program running.
        m_closed = true;
        m_controller.viewClosed(placed ? std::optional(pos()) : std::nullopt);
    }
    event->accept();
}

} // namespace lumitakt
