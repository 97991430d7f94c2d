#include "widgets/appointmentdialog.h"

#include "model/appointment.h"
#include "model/clocksettings.h"
#include "model/clocktexts.h"
#include "widgets/accessibility.h"
#include "widgets/fonts.h"
#include "widgets/outersize.h"

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
constexpr QRect kEnterFrame{8, 2, 367, 51};
constexpr QRect kAlarmFrame{8, 66, 367, 47};
constexpr QRect kSignalFrame{8, 128, 367, 51};
// Arial 9.75 pt and 12 pt at 96 dpi.
constexpr int kTextPixels = 13;
constexpr int kAlarmPixels = 16;

void setTextColour(QWidget *widget, QPalette::ColorRole role, QColor colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

// A scroll bar's value runs against the number in its box, so that the
// bar's up arrow raises the number.
int reversed(const QScrollBar *bar, int value)
{
    return bar->maximum() - value;
}

} // namespace

AppointmentDialog::AppointmentDialog(Face face, const QDateTime &now, const QString &note, std::int16_t signalMode)
{
    // The alarm face is an alert, read out as it appears.
    if (face == Face::Alarm)
        reportAsAlert(this);
    createElements();
    showFace(face, now, note, signalMode);
}

void AppointmentDialog::createElements()
{
    setObjectName(QStringLiteral("Termin"));
    setWindowTitle(QStringLiteral(" Termin eingeben"));
    resize(kClientAtCreation);
    m_outerSize = new OuterSizeKeeper(this);

    const auto frame = [this](const char *name, QRect rect, const QString &title = QString()) {
        auto *box = new QGroupBox(title, this);
        box->setObjectName(QString::fromLatin1(name));
        box->setGeometry(rect);
        box->setFont(arialFont(kTextPixels));
        return box;
    };
    const auto button = [this](QWidget *parent, int index, QRect rect) {
        auto *ok = new QPushButton(QStringLiteral("OK"), parent);
        ok->setObjectName(QStringLiteral("btnOK"));
        ok->setProperty("index", index);
        ok->setGeometry(rect);
        ok->setFont(QGuiApplication::font()); // the default dialog font
        ok->setAutoDefault(false);
        m_okButtons[static_cast<std::size_t>(index)] = ok;
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
        edit->setFont(arialFont(kTextPixels));
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
    m_enterFrame = frame("fraEingeben", kEnterFrame);
    const QString hour = QStringLiteral("Stunde");
    const QString minute = QStringLiteral("Minute");
    m_hourBar = scrollBar(m_enterFrame, "scrStd", hour, {8, 18, 19, 24}, 23);
    m_hourBox = lineEdit(m_enterFrame, "txtStd", hour, {28, 18, 25, 24}, 2, Qt::AlignCenter);
    auto *colon = new QLabel(QStringLiteral(":"), m_enterFrame);
    colon->setObjectName(QStringLiteral("Label"));
    colon->setProperty("index", 2);
    colon->setGeometry(58, 20, 3, 17);
    colon->setFont(arialFont(kTextPixels, true));
    m_minuteBox = lineEdit(m_enterFrame, "txtMin", minute, {68, 18, 25, 24}, 2, Qt::AlignCenter);
    // The boxes take only what can be a time of day, typed or pasted, so
    // that every appointment entered can become due.
    const auto onlyNumbers = [](QLineEdit *edit, const QString &pattern) {
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), edit));
    };
    onlyNumbers(m_hourBox, QStringLiteral("[01]?[0-9]|2[0-3]"));
    onlyNumbers(m_minuteBox, QStringLiteral("[0-5]?[0-9]"));
    m_minuteBar = scrollBar(m_enterFrame, "scrMin", minute, {94, 18, 19, 24}, 59);
    m_noteBox = lineEdit(m_enterFrame, "txtTermin", QStringLiteral("Notiz"), {118, 18, 153, 24}, 25, Qt::AlignLeft | Qt::AlignVCenter);
    connect(button(m_enterFrame, 0, {278, 18, 80, 23}), &QPushButton::clicked, this, &AppointmentDialog::takeAppointment);
    connect(m_hourBar, &QScrollBar::valueChanged, this, &AppointmentDialog::showHour);
    connect(m_minuteBar, &QScrollBar::valueChanged, this, &AppointmentDialog::showMinute);

    // Alarm face.
    m_alarmFrame = frame("fraAnzeigen", kAlarmFrame);
    m_alarmText = new QLabel(QStringLiteral("Ihr Termin ist erreicht"), m_alarmFrame);
    m_alarmText->setObjectName(QStringLiteral("lblAnzeigen"));
    m_alarmText->setGeometry(12, 16, 253, 26);
    m_alarmText->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_alarmText->setFont(arialFont(kAlarmPixels, true));
    m_alarmText->setTextFormat(Qt::PlainText);
    setTextColour(m_alarmText, QPalette::WindowText, QColor(255, 0, 0));
    connect(button(m_alarmFrame, 1, {278, 16, 80, 23}), &QPushButton::clicked, this, [this] {
        Q_EMIT alarmAcknowledged();
        close();
    });

    // Signal face. The mode is taken as soon as a button is chosen.
    m_signalFrame = frame("fraTerminSignal", kSignalFrame, QStringLiteral(" .WAV-Datei abspielen "));
    const auto option = [this](std::int16_t mode, const QString &text, QRect rect) {
        auto *radio = new QRadioButton(text, m_signalFrame);
        radio->setObjectName(QStringLiteral("optTerminsignal"));
        radio->setProperty("index", mode);
        radio->setGeometry(rect);
        radio->setFont(arialFont(kTextPixels));
        setTextColour(radio, QPalette::WindowText, QColor(0, 0, 255));
        connect(radio, &QRadioButton::toggled, this, [this, mode](bool on) {
            if (on)
                Q_EMIT signalModeChosen(mode);
        });
        m_signalButtons[static_cast<std::size_t>(mode)] = radio;
    };
    option(kSignalRepeat, QStringLiteral("wiederholen"), {156, 22, 100, 19});
    option(kSignalOnce, QStringLiteral("einmal"), {18, 22, 85, 19});
    connect(button(m_signalFrame, 2, {278, 20, 80, 23}), &QPushButton::clicked, this, &QWidget::close);

    // The tab order of the elements that take the focus.
    const QList<QWidget *> order{m_hourBar,       m_hourBox,       m_minuteBox,        m_minuteBar,        m_noteBox,
                                 m_okButtons[0], m_okButtons[1], m_signalButtons[0], m_signalButtons[1], m_okButtons[2]};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void AppointmentDialog::showFace(Face face, const QDateTime &now, const QString &note, std::int16_t signalMode)
{
    // Centred with the size at creation; the cut that follows leaves the
    // dialog standing a little above the middle of the screen.
    centreOnScreen(kClientAtCreation);
    m_outerSize->setSize({kClientAtCreation.width(), false, kOuterHeightAfterLoad, true});

    const auto showOnly = [this](QGroupBox *shown) {
        for (QGroupBox *frame : {m_enterFrame, m_alarmFrame, m_signalFrame})
            frame->setVisible(frame == shown);
    };
    switch (face) {
    case Face::Alarm:
        setWindowTitle(alarmCaption(now));
        m_alarmText->setText(note);
        setAccessibleDescription(note);
        m_alarmFrame->move(m_alarmFrame->x(), kFrameTop);
        showOnly(m_alarmFrame);
        m_okButtons[1]->setDefault(true);
        break;
    case Face::Signal:
        setWindowTitle(QStringLiteral(" Termin signalisieren"));
        m_signalFrame->move(m_signalFrame->x(), kFrameTop);
        showOnly(m_signalFrame);
        proposeTime(now);
        // A mode that is neither 0 nor 1 (from an edited settings file)
        // selects no button and stays until the user picks one.
        if (signalMode == kSignalRepeat || signalMode == kSignalOnce)
            m_signalButtons[static_cast<std::size_t>(signalMode)]->setChecked(true);
        break;
    case Face::Enter:
        showOnly(m_enterFrame);
        proposeTime(now);
        m_okButtons[0]->setDefault(true);
        break;
    }
}

void AppointmentDialog::proposeTime(const QDateTime &now)
{
    // The next hour, minute 00; the boxes show it even where a bar already
    // stood at that value and so reports no change.
    m_hourBar->setValue(reversed(m_hourBar, proposedHour(now.time().hour())));
    m_minuteBar->setValue(reversed(m_minuteBar, 0));
    showHour();
    showMinute();
}

void AppointmentDialog::showHour()
{
    m_hourBox->setText(twoDigits(reversed(m_hourBar, m_hourBar->value())));
}

void AppointmentDialog::showMinute()
{
    m_minuteBox->setText(twoDigits(reversed(m_minuteBar, m_minuteBar->value())));
}

void AppointmentDialog::takeAppointment()
{
    // A box left empty gets the cursor back; nothing is taken that could
    // never ring. A single digit is taken as the hour or minute it is.
    const std::optional<int> hour = parseTwoDigits(m_hourBox->text(), 23);
    const std::optional<int> minute = parseTwoDigits(m_minuteBox->text(), 59);
    if (!hour || !minute) {
        (hour ? m_minuteBox : m_hourBox)->setFocus();
        return;
    }
    Q_EMIT appointmentEntered(QTime(*hour, *minute), m_noteBox->text());
    close();
}

} // namespace lumitakt
