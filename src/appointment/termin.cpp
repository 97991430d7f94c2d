#include "appointment/termin.h"

#include "appointment/appointment.h"
#include "windowkit/accessibility.h"
#include "windowkit/clocktexts.h"
#include "windowkit/outersize.h"
#include "platform/clock.h"
#include "sharedstate.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>

namespace lumitakt {

namespace {

// Pixel geometry (15 twips to the pixel).
constexpr QSize kClientAtCreation{382, 200};
constexpr int kOuterHeightAfterLoad = 90;
constexpr int kFrameTop = 2; // where the face shown stands
constexpr QRect kFraEingeben{8, 2, 367, 51};
constexpr QRect kFraAnzeigen{8, 66, 367, 47};
constexpr QRect kFraTerminSignal{8, 128, 367, 51};
// Arial 9.75 pt and 12 pt at 96 dpi.
constexpr int kTextPixels = 13;
constexpr int kAlarmPixels = 16;

QFont arial(int pixels, bool bold = false)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

void setTextColour(QWidget *widget, QPalette::ColorRole role, QColor colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

} // namespace

Termin::Termin(SharedState &state, const Clock &clock, QWidget *mainWindow)
    : ProgramDialog(mainWindow), m_state(state), m_clock(clock)
{
    // The alarm face is an alert, read out as it appears.
    if (m_state.TerminModus == 2)
        reportAsAlert(this);
    createElements();
    Form_Load();
}

void Termin::createElements()
{
    setObjectName(QStringLiteral("Termin"));
    setWindowTitle(QStringLiteral(" Termin eingeben"));
    resize(kClientAtCreation);
    m_outerSize = new OuterSizeKeeper(this);

    const auto frame = [this](const char *name, QRect rect, const QString &title = QString()) {
        auto *box = new QGroupBox(title, this);
        box->setObjectName(QString::fromLatin1(name));
        box->setGeometry(rect);
        box->setFont(arial(kTextPixels));
        return box;
    };
    const auto button = [this](QWidget *parent, int index, QRect rect) {
        auto *ok = new QPushButton(QStringLiteral("OK"), parent);
        ok->setObjectName(QStringLiteral("btnOK"));
        ok->setProperty("index", index);
        ok->setGeometry(rect);
        ok->setFont(QGuiApplication::font()); // the default dialog font
        ok->setAutoDefault(false);
        connect(ok, &QPushButton::clicked, this, [this, index] { btnOK_Click(index); });
        m_btnOK[static_cast<std::size_t>(index)] = ok;
        return ok;
    };
    // Each control is created with the name a screen reader gives it.
    const auto lineEdit = [](QWidget *parent, const char *name, const QString &spoken, QRect rect, int maxLength, Qt::Alignment align) {
        auto *edit = new QLineEdit(parent);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setAccessibleName(spoken);
        edit->setGeometry(rect);
        edit->setMaxLength(maxLength);
        edit->setAlignment(align);
        edit->setFont(arial(kTextPixels));
        setTextColour(edit, QPalette::Text, Qt::black);
        return edit;
    };
    const auto scrollBar = [](QWidget *parent, const char *name, const QString &spoken, QRect rect, int maximum) {
        auto *bar = new QScrollBar(Qt::Vertical, parent);
        // Its value runs against the number in its box; it reports the number.
        reportReversed(bar);
        bar->setObjectName(QString::fromLatin1(name));
        bar->setAccessibleName(spoken);
        bar->setGeometry(rect);
        bar->setRange(0, maximum);
        bar->setSingleStep(1);
        bar->setPageStep(1);
        bar->setFocusPolicy(Qt::StrongFocus);
        return bar;
    };

    // Enter face.
    m_fraEingeben = frame("fraEingeben", kFraEingeben);
    const QString hour = QStringLiteral("Stunde");
    const QString minute = QStringLiteral("Minute");
    m_scrStd = scrollBar(m_fraEingeben, "scrStd", hour, {8, 18, 19, 24}, 23);
    m_txtStd = lineEdit(m_fraEingeben, "txtStd", hour, {28, 18, 25, 24}, 2, Qt::AlignCenter);
    auto *colon = new QLabel(QStringLiteral(":"), m_fraEingeben);
    colon->setObjectName(QStringLiteral("Label"));
    colon->setProperty("index", 2);
    colon->setGeometry(58, 20, 3, 17);
    colon->setFont(arial(kTextPixels, true));
    m_txtMin = lineEdit(m_fraEingeben, "txtMin", minute, {68, 18, 25, 24}, 2, Qt::AlignCenter);
    // The boxes take only what can be a time of day, typed or pasted, so
    // that every appointment entered can become due.
    const auto onlyNumbers = [](QLineEdit *edit, const QString &pattern) {
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), edit));
    };
    onlyNumbers(m_txtStd, QStringLiteral("[01]?[0-9]|2[0-3]"));
    onlyNumbers(m_txtMin, QStringLiteral("[0-5]?[0-9]"));
    m_scrMin = scrollBar(m_fraEingeben, "scrMin", minute, {94, 18, 19, 24}, 59);
    m_txtTermin = lineEdit(m_fraEingeben, "txtTermin", QStringLiteral("Notiz"), {118, 18, 153, 24}, 25,
                           Qt::AlignLeft | Qt::AlignVCenter);
    button(m_fraEingeben, 0, {278, 18, 80, 23});
    connect(m_scrStd, &QScrollBar::valueChanged, this, &Termin::scrStd_Change);
    connect(m_scrMin, &QScrollBar::valueChanged, this, &Termin::scrMin_Change);

    // Alarm face.
    m_fraAnzeigen = frame("fraAnzeigen", kFraAnzeigen);
    m_lblAnzeigen = new QLabel(QStringLiteral("Ihr Termin ist erreicht"), m_fraAnzeigen);
    m_lblAnzeigen->setObjectName(QStringLiteral("lblAnzeigen"));
    m_lblAnzeigen->setGeometry(12, 16, 253, 26);
    m_lblAnzeigen->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_lblAnzeigen->setFont(arial(kAlarmPixels, true));
    m_lblAnzeigen->setTextFormat(Qt::PlainText);
    setTextColour(m_lblAnzeigen, QPalette::WindowText, QColor(255, 0, 0));
    button(m_fraAnzeigen, 1, {278, 16, 80, 23});

    // Signal face.
    m_fraTerminSignal = frame("fraTerminSignal", kFraTerminSignal, QStringLiteral(" .WAV-Datei abspielen "));
    const auto option = [this](int index, const QString &text, QRect rect) {
        auto *radio = new QRadioButton(text, m_fraTerminSignal);
        radio->setObjectName(QStringLiteral("optTerminsignal"));
        radio->setProperty("index", index);
        radio->setGeometry(rect);
        radio->setFont(arial(kTextPixels));
        setTextColour(radio, QPalette::WindowText, QColor(0, 0, 255));
        connect(radio, &QRadioButton::toggled, this, [this, index](bool on) {
            if (on)
                optTerminsignal_Click(index);
        });
        m_opt[static_cast<std::size_t>(index)] = radio;
    };
    option(0, QStringLiteral("wiederholen"), {156, 22, 100, 19});
    option(1, QStringLiteral("einmal"), {18, 22, 85, 19});
    button(m_fraTerminSignal, 2, {278, 20, 80, 23});

    // The tab order of the elements that take the focus.
    const QList<QWidget *> order{m_scrStd, m_txtStd, m_txtMin, m_scrMin, m_txtTermin, m_btnOK[0], m_btnOK[1], m_opt[0], m_opt[1], m_btnOK[2]};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void Termin::Form_Load()
{
    // Centred with the size at creation; the cut that follows leaves the
    // dialog standing a little above the middle of the screen.
    centreOnScreen(kClientAtCreation);
    m_outerSize->setSize({kClientAtCreation.width(), false, kOuterHeightAfterLoad, true});

    switch (m_state.TerminModus) {
    case 2: {
        const QDateTime now = m_clock.now();
        setWindowTitle(QStringLiteral(" ") + QLocale().toString(now.date(), QLocale::LongFormat) + QStringLiteral("     ")
                       + TimeSnapshot::of(now).timeText);
        m_lblAnzeigen->setText(m_state.TerminText);
        setAccessibleDescription(m_state.TerminText);
        m_fraAnzeigen->move(m_fraAnzeigen->x(), kFrameTop);
        m_fraAnzeigen->show();
        m_fraEingeben->hide();
        m_fraTerminSignal->hide();
        m_btnOK[1]->setDefault(true);
        break;
    }
    case 3:
        setWindowTitle(QStringLiteral(" Termin signalisieren"));
        m_fraTerminSignal->move(m_fraTerminSignal->x(), kFrameTop);
        m_fraTerminSignal->show();
        setDefaultTime();
        m_fraAnzeigen->hide();
        m_fraEingeben->hide();
        // A mode that is neither 0 nor 1 (from an edited settings file)
        // selects no button and stays until the user picks one.
        if (m_state.SignalModus == 0 || m_state.SignalModus == 1)
            m_opt[static_cast<std::size_t>(m_state.SignalModus)]->setChecked(true);
        break;
    default:
        m_fraEingeben->show();
        setDefaultTime();
        m_fraAnzeigen->hide();
        m_fraTerminSignal->hide();
        m_btnOK[0]->setDefault(true);
        break;
    }
}

void Termin::setDefaultTime()
{
    // The next hour, minute 00; the boxes show it even where a bar already
    // stood at that value and so reports no change.
    const int hour = vorgeschlageneStunde(m_clock.now().time().hour());
    m_scrStd->setValue(23 - hour);
    m_scrMin->setValue(59);
    scrStd_Change();
    scrMin_Change();
}

void Termin::scrStd_Change()
{
    m_txtStd->setText(QStringLiteral("%1").arg(stundeAusWert(m_scrStd->value()), 2, 10, QLatin1Char('0')));
}

void Termin::scrMin_Change()
{
    m_txtMin->setText(QStringLiteral("%1").arg(minuteAusWert(m_scrMin->value()), 2, 10, QLatin1Char('0')));
}

void Termin::optTerminsignal_Click(int Index)
{
    m_state.SignalModus = static_cast<std::int16_t>(Index);
}

void Termin::btnOK_Click(int Index)
{
    switch (Index) {
    case 0: {
        // A box left empty gets the cursor back; nothing is taken that could
        // never ring. A single digit is taken as the hour or minute it is.
        const std::optional<int> hour = zeitFeld(m_txtStd->text(), 23);
        const std::optional<int> minute = zeitFeld(m_txtMin->text(), 59);
        if (!hour || !minute) {
            (hour ? m_txtMin : m_txtStd)->setFocus();
            return;
        }
        m_state.TerminZeit = terminZeit(*hour, *minute);
        m_state.TerminGesetzt = true;
        m_state.TerminQuittiert = false;
        m_state.TerminGemeldet = false;
        m_state.TerminText = m_txtTermin->text();
        break;
    }
    case 1:
        m_state.TerminZeit.clear();
        m_state.TerminGesetzt = false;
        m_state.TerminQuittiert = true;
        // Shown, but neither brought back from closed nor from minimised.
        if (mainWindow() && !mainWindow()->isHidden() && !mainWindow()->isMinimized())
            mainWindow()->show();
        break;
    default:
        break;
    }
    close();
}

} // namespace lumitakt
