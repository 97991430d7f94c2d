#include "appointment/appointment.h"
#include "appointment/termin.h"
#include "mainwindow/lumitakt.h"
#include "support/clockfixture.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>
#include <QTimer>

#include <memory>

using namespace lumitakt;

namespace {

struct Fixture : test::ClockFixture {
    explicit Fixture(QTime start) : ClockFixture(start, Shown) {}
    ~Fixture() { delete window->termin(); }
    Termin *dialog() const { return window->termin(); }
    template <typename T>
    T *element(const char *name) const
    {
        return dialog() ? dialog()->findChild<T *>(QString::fromUtf8(name)) : nullptr;
    }
    // Closes the dialog as its close button does, and lets the clock return.
    void closeDialog()
    {
        QVERIFY(dialog());
        dialog()->close();
        settle();
    }
    // Enters an appointment through the menu and the enter face.
    void enter(const QString &hour, const QString &minute, const QString &note)
    {
        trigger("MenuTerminEingeben");
        element<QLineEdit>("txtStd")->setText(hour);
        element<QLineEdit>("txtMin")->setText(minute);
        element<QLineEdit>("txtTermin")->setText(note);
        dialog()->btnOK(0)->click();
        settle();
    }
    QString wav() const { return folder.path() + QStringLiteral("/Termin.wav"); }
};

// The next element the Tab key moves to.
QWidget *nextTabStop(QWidget *from)
{
    QWidget *w = from->nextInFocusChain();
    while (w != from && !(w->focusPolicy() & Qt::TabFocus))
        w = w->nextInFocusChain();
    return w;
}

} // namespace

class TstAppointment : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        test::quietOffscreen();
    }
    void dueTest_data();
    void dueTest();
    void enterFaceElements();
    void defaultTime_data();
    void defaultTime();
    void scrollBarsRunUpsideDown();
    void enterSetsTheAppointment();
    void typedTime_data();
    void typedTime();
    void clearCommand();
    void closingAnyFaceEnablesTheClock_data();
    void closingAnyFaceEnablesTheClock();
    void signalFace_data();
    void signalFace();
    void alarmSoundsOnceOrEveryTick_data();
    void alarmSoundsOnceOrEveryTick();
    void acknowledgingEndsTheAlarm();
    void unacknowledgedAlarmEndsWithTheMinute();
    void closedAlarmReopensInTheSameMinute();
    void openDialogKeepsItsFace();
    void appointmentForTheCurrentMinute();
    void clockJumps_data();
    void clockJumps();
    void readByAScreenReader();
};

void TstAppointment::dueTest_data()
{
    QTest::addColumn<QString>("terminZeit");
    QTest::addColumn<bool>("quittiert");
    QTest::addColumn<QString>("now");
    QTest::addColumn<bool>("due");
    QTest::newRow("same minute") << QStringLiteral("07:30") << false << QStringLiteral("07:30") << true;
    QTest::newRow("acknowledged") << QStringLiteral("07:30") << true << QStringLiteral("07:30") << false;
    QTest::newRow("other minute") << QStringLiteral("07:30") << false << QStringLiteral("07:31") << false;
    QTest::newRow("empty") << QString() << false << QStringLiteral("07:30") << false;
    QTest::newRow("typed 7:30") << QStringLiteral("7:30") << false << QStringLiteral("07:30") << false;
}

void TstAppointment::dueTest()
{
    QFETCH(QString, terminZeit);
    QFETCH(bool, quittiert);
    QFETCH(QString, now);
    QFETCH(bool, due);
    SharedState state;
    state.TerminZeit = terminZeit;
    state.TerminQuittiert = quittiert;
    QCOMPARE(terminFaellig(state, now), due);
}

void TstAppointment::enterFaceElements()
{
    Fixture c(QTime(14, 37));
    c.trigger("MenuTerminEingeben");
    Termin *d = c.dialog();
    QVERIFY(d);
    QVERIFY(d->isVisible());
    QVERIFY(!d->isModal());
    QVERIFY(!c.window->isEnabled());
    QCOMPARE(d->windowTitle(), QStringLiteral(" Termin eingeben"));
    QVERIFY(d->testAttribute(Qt::WA_DeleteOnClose));
    // The client area keeps its width of 5730 twips; the height is cut to an
    // outer height of 1350 twips, frame included.
    QCOMPARE(d->width(), 382);
    QCOMPARE(d->frameGeometry().height(), 90);

    struct Expected {
        const char *name;
        QRect rect;
    };
    for (const Expected &e : {Expected{"fraEingeben", {8, 2, 367, 51}}, Expected{"scrStd", {8, 18, 19, 24}},
                              Expected{"txtStd", {28, 18, 25, 24}}, Expected{"txtMin", {68, 18, 25, 24}},
                              Expected{"scrMin", {94, 18, 19, 24}}, Expected{"txtTermin", {118, 18, 153, 24}},
                              Expected{"fraAnzeigen", {8, 66, 367, 47}}, Expected{"lblAnzeigen", {12, 16, 253, 26}},
                              Expected{"fraTerminSignal", {8, 128, 367, 51}}}) {
        QWidget *w = d->findChild<QWidget *>(QString::fromLatin1(e.name));
        QVERIFY2(w, e.name);
        QCOMPARE(w->geometry(), e.rect);
    }
    QVERIFY(c.element<QGroupBox>("fraEingeben")->isVisible());
    QVERIFY(!c.element<QGroupBox>("fraAnzeigen")->isVisible());
    QVERIFY(!c.element<QGroupBox>("fraTerminSignal")->isVisible());
    QCOMPARE(c.element<QGroupBox>("fraTerminSignal")->title(), QStringLiteral(" .WAV-Datei abspielen "));
    QCOMPARE(c.element<QLabel>("lblAnzeigen")->text(), QStringLiteral("Ihr Termin ist erreicht"));
    QCOMPARE(c.element<QLabel>("lblAnzeigen")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QVERIFY(c.element<QLabel>("lblAnzeigen")->font().bold());
    QCOMPARE(c.element<QLineEdit>("txtStd")->maxLength(), 2);
    QCOMPARE(c.element<QLineEdit>("txtMin")->maxLength(), 2);
    QCOMPARE(c.element<QLineEdit>("txtTermin")->maxLength(), 25);
    QCOMPARE(c.element<QLineEdit>("txtTermin")->text(), QString());
    QCOMPARE(c.element<QLineEdit>("txtStd")->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    QCOMPARE(c.element<QLineEdit>("txtTermin")->font().family(), QStringLiteral("Arial"));

    const QRect okRects[] = {{278, 18, 80, 23}, {278, 16, 80, 23}, {278, 20, 80, 23}};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(d->btnOK(i)->objectName(), QStringLiteral("btnOK"));
        QCOMPARE(d->btnOK(i)->property("index").toInt(), i);
        QCOMPARE(d->btnOK(i)->text(), QStringLiteral("OK"));
        QCOMPARE(d->btnOK(i)->geometry(), okRects[i]);
        QCOMPARE(d->btnOK(i)->isDefault(), i == 0);
    }
    QCOMPARE(d->optTerminsignal(0)->text(), QStringLiteral("wiederholen"));
    QCOMPARE(d->optTerminsignal(1)->text(), QStringLiteral("einmal"));
    QCOMPARE(d->optTerminsignal(0)->geometry(), QRect(156, 22, 100, 19));
    QCOMPARE(d->optTerminsignal(1)->geometry(), QRect(18, 22, 85, 19));
    QCOMPARE(d->optTerminsignal(0)->palette().color(QPalette::WindowText), QColor(0, 0, 255));

    // Tab order.
    const char *order[] = {"scrStd", "txtStd", "txtMin", "scrMin", "txtTermin"};
    for (int i = 0; i + 1 < 5; ++i)
        QCOMPARE(nextTabStop(d->findChild<QWidget *>(QString::fromLatin1(order[i]))),
                 d->findChild<QWidget *>(QString::fromLatin1(order[i + 1])));
    QCOMPARE(nextTabStop(c.element<QLineEdit>("txtTermin")), d->btnOK(0));
    // Enter presses OK.
    QTest::keyClick(c.element<QLineEdit>("txtTermin"), Qt::Key_Return);
    c.settle();
    QVERIFY(!c.dialog());
    QVERIFY(c.state.TerminGesetzt);
}

void TstAppointment::defaultTime_data()
{
    QTest::addColumn<QTime>("now");
    QTest::addColumn<QString>("hour");
    QTest::addColumn<int>("barValue");
    QTest::newRow("14:37") << QTime(14, 37) << QStringLiteral("15") << 8;
    QTest::newRow("00:05") << QTime(0, 5) << QStringLiteral("01") << 22;
    QTest::newRow("22:10") << QTime(22, 10) << QStringLiteral("23") << 0;
    QTest::newRow("23:30 proposes 00") << QTime(23, 30) << QStringLiteral("00") << 23;
}

void TstAppointment::defaultTime()
{
    QFETCH(QTime, now);
    QFETCH(QString, hour);
    QFETCH(int, barValue);
    Fixture c(now);
    for (const char *command : {"MenuTerminEingeben", "MenuTerminSignal"}) {
        c.trigger(command);
        QCOMPARE(c.element<QLineEdit>("txtStd")->text(), hour);
        QCOMPARE(c.element<QLineEdit>("txtMin")->text(), QStringLiteral("00"));
        QCOMPARE(c.element<QScrollBar>("scrStd")->value(), barValue);
        QCOMPARE(c.element<QScrollBar>("scrMin")->value(), 59);
        c.closeDialog();
    }
}

void TstAppointment::scrollBarsRunUpsideDown()
{
    Fixture c(QTime(14, 37));
    c.trigger("MenuTerminEingeben");
    QScrollBar *hour = c.element<QScrollBar>("scrStd");
    QScrollBar *minute = c.element<QScrollBar>("scrMin");
    QLineEdit *txtStd = c.element<QLineEdit>("txtStd");
    QLineEdit *txtMin = c.element<QLineEdit>("txtMin");
    // The up arrow raises the number.
    hour->triggerAction(QAbstractSlider::SliderSingleStepSub);
    QCOMPARE(txtStd->text(), QStringLiteral("16"));
    hour->triggerAction(QAbstractSlider::SliderPageStepAdd); // a click on the track steps by one too
    hour->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(txtStd->text(), QStringLiteral("14"));
    // The ends: 23 at the top, 00 at the bottom; nothing beyond.
    hour->setValue(0);
    hour->triggerAction(QAbstractSlider::SliderSingleStepSub);
    QCOMPARE(txtStd->text(), QStringLiteral("23"));
    hour->setValue(23);
    hour->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(txtStd->text(), QStringLiteral("00"));
    QCOMPARE(txtMin->text(), QStringLiteral("00"));
    minute->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(txtMin->text(), QStringLiteral("00"));
    minute->triggerAction(QAbstractSlider::SliderSingleStepSub);
    QCOMPARE(txtMin->text(), QStringLiteral("01"));
    minute->setValue(0);
    minute->triggerAction(QAbstractSlider::SliderSingleStepSub);
    QCOMPARE(txtMin->text(), QStringLiteral("59"));
    // Typing does not move the bars.
    txtStd->setText(QStringLiteral("07"));
    QCOMPARE(hour->value(), 23);
}

void TstAppointment::enterSetsTheAppointment()
{
    Fixture c(QTime(8, 0));
    c.state.TerminGemeldet = true;
    c.state.TerminQuittiert = true;
    c.enter(QStringLiteral("09"), QStringLiteral("30"), QStringLiteral("Zahnarzt"));
    QCOMPARE(c.state.TerminZeit, QStringLiteral("09:30"));
    QCOMPARE(c.state.TerminText, QStringLiteral("Zahnarzt"));
    QVERIFY(c.state.TerminGesetzt);
    QVERIFY(!c.state.TerminQuittiert);
    QVERIFY(!c.state.TerminGemeldet);
    QVERIFY(c.window->isEnabled());
    QCOMPARE(c.window->lblTermin()->text(), QStringLiteral("Termin   09:30"));
    QVERIFY(!c.window->lblTermin()->isHidden());
    QCOMPARE(c.height(), 105);
}

void TstAppointment::typedTime_data()
{
    // What is typed into the hour and minute boxes, what they then show, and
    // the appointment OK takes; empty: none, the cursor goes to that box.
    QTest::addColumn<QString>("hour");
    QTest::addColumn<QString>("minute");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("taken");
    QTest::newRow("single digits padded") << QStringLiteral("9") << QStringLiteral("5") << QStringLiteral("9:5") << QStringLiteral("09:05");
    QTest::newRow("two digits") << QStringLiteral("23") << QStringLiteral("59") << QStringLiteral("23:59") << QStringLiteral("23:59");
    QTest::newRow("no 24, no 60") << QStringLiteral("24") << QStringLiteral("60") << QStringLiteral("2:6") << QStringLiteral("02:06");
    QTest::newRow("letters and signs") << QStringLiteral("a1-") << QStringLiteral(" 3x0") << QStringLiteral("1:30") << QStringLiteral("01:30");
    QTest::newRow("hour left empty") << QString() << QStringLiteral("30") << QStringLiteral(":30") << QString();
    QTest::newRow("minute left empty") << QStringLiteral("12") << QString() << QStringLiteral("12:") << QString();
    QTest::newRow("only letters") << QStringLiteral("ab") << QStringLiteral("15") << QStringLiteral(":15") << QString();
}

void TstAppointment::typedTime()
{
    QFETCH(QString, hour);
    QFETCH(QString, minute);
    QFETCH(QString, shown);
    QFETCH(QString, taken);
    Fixture c(QTime(8, 0));
    c.trigger("MenuTerminEingeben");
    auto *txtStd = c.element<QLineEdit>("txtStd");
    auto *txtMin = c.element<QLineEdit>("txtMin");
    // Typed over the proposal, key by key, as a user types.
    for (const auto &[box, keys] : {std::pair{txtStd, hour}, std::pair{txtMin, minute}}) {
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, keys);
    }
    // Nor does pasting bring in what typing cannot.
    txtMin->insert(QStringLiteral(":99"));
    QCOMPARE(txtStd->text() + u':' + txtMin->text(), shown);
    c.dialog()->btnOK(0)->click();
    c.settle();
    if (taken.isEmpty()) {
        QVERIFY(c.dialog());
        QVERIFY(!c.state.TerminGesetzt);
        QCOMPARE(c.dialog()->focusWidget(), hour == u"12" ? txtMin : txtStd);
        return;
    }
    QVERIFY(!c.dialog());
    QCOMPARE(c.state.TerminZeit, taken);
    QCOMPARE(c.window->lblTermin()->text(), QStringLiteral("Termin   ") + taken);
    // And it rings in its minute.
    c.tickAt(QDateTime::fromString(taken, QStringLiteral("HH:mm")).time());
    QVERIFY(c.dialog());
    QCOMPARE(c.fakes.sound.played.size(), 1);
}

void TstAppointment::clearCommand()
{
    Fixture c(QTime(8, 0));
    c.state.SignalModus = 1;
    c.enter(QStringLiteral("09"), QStringLiteral("30"), QStringLiteral("Zahnarzt"));
    c.state.TerminGemeldet = true;
    c.trigger("MenuTerminLöschen");
    QVERIFY(!c.dialog());
    QVERIFY(c.window->isEnabled());
    QCOMPARE(c.state.TerminZeit, QString());
    QVERIFY(!c.state.TerminGesetzt);
    QCOMPARE(c.state.TerminText, QStringLiteral("Zahnarzt"));
    QVERIFY(c.state.TerminGemeldet);
    QCOMPARE(c.window->lblTermin()->text(), QStringLiteral("Termin   "));
    QVERIFY(c.window->lblTermin()->isHidden());
    QCOMPARE(c.height(), 96);
    // Never due any more.
    c.tickThrough(QTime(9, 29, 59), QTime(9, 30, 30));
    QVERIFY(!c.dialog());
    // With the stopwatch running the window keeps its tall height.
    c.trigger("MenuStopuhrStarten");
    c.trigger("MenuTerminLöschen");
    QCOMPARE(c.height(), 105);
}

void TstAppointment::closingAnyFaceEnablesTheClock_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("enter") << QStringLiteral("MenuTerminEingeben");
    QTest::newRow("signal") << QStringLiteral("MenuTerminSignal");
}

void TstAppointment::closingAnyFaceEnablesTheClock()
{
    QFETCH(QString, command);
    Fixture c(QTime(8, 0));
    c.trigger(command.toUtf8().constData());
    QVERIFY(!c.window->isEnabled());
    c.element<QLineEdit>("txtStd")->setText(QStringLiteral("11"));
    c.closeDialog();
    QVERIFY(!c.dialog());
    QVERIFY(c.window->isEnabled());
    QVERIFY(!c.state.TerminGesetzt);
    QCOMPARE(c.state.TerminZeit, QString());
    QCOMPARE(c.height(), 96);
}

void TstAppointment::signalFace_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("einmal");
    QTest::addColumn<bool>("wiederholen");
    QTest::newRow("einmal") << 1 << true << false;
    QTest::newRow("wiederholen") << 0 << false << true;
    QTest::newRow("from an edited file") << 7 << false << false;
}

void TstAppointment::signalFace()
{
    QFETCH(int, mode);
    QFETCH(bool, einmal);
    QFETCH(bool, wiederholen);
    Fixture c(QTime(8, 0));
    c.state.SignalModus = static_cast<std::int16_t>(mode);
    c.trigger("MenuTerminSignal");
    Termin *d = c.dialog();
    QCOMPARE(d->windowTitle(), QStringLiteral(" Termin signalisieren"));
    QVERIFY(c.element<QGroupBox>("fraTerminSignal")->isVisible());
    QCOMPARE(c.element<QGroupBox>("fraTerminSignal")->y(), 2);
    QVERIFY(!c.element<QGroupBox>("fraEingeben")->isVisible());
    QVERIFY(!c.element<QGroupBox>("fraAnzeigen")->isVisible());
    for (int i = 0; i < 3; ++i)
        QVERIFY(!d->btnOK(i)->isDefault());
    QCOMPARE(d->optTerminsignal(1)->isChecked(), einmal);
    QCOMPARE(d->optTerminsignal(0)->isChecked(), wiederholen);
    QCOMPARE(c.state.SignalModus, std::int16_t(mode)); // nothing changes by looking

    // A choice is stored at once and kept when the dialog is closed.
    QTest::mouseClick(d->optTerminsignal(mode == 0 ? 1 : 0), Qt::LeftButton);
    const std::int16_t chosen = mode == 0 ? 1 : 0;
    QCOMPARE(c.state.SignalModus, chosen);
    c.closeDialog();
    QCOMPARE(c.state.SignalModus, chosen);
    QVERIFY(c.window->isEnabled());

    // OK closes too.
    c.trigger("MenuTerminSignal");
    c.dialog()->btnOK(2)->click();
    c.settle();
    QVERIFY(!c.dialog());
    QVERIFY(c.window->isEnabled());
}

void TstAppointment::alarmSoundsOnceOrEveryTick_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("sounds");
    QTest::newRow("einmal") << 1 << 1;
    QTest::newRow("wiederholen") << 0 << 120;
    QTest::newRow("any other mode repeats") << 5 << 120;
}

void TstAppointment::alarmSoundsOnceOrEveryTick()
{
    QFETCH(int, mode);
    QFETCH(int, sounds);
    Fixture c(QTime(7, 0));
    c.state.SignalModus = static_cast<std::int16_t>(mode);
    c.enter(QStringLiteral("07"), QStringLiteral("30"), QStringLiteral("Bus"));
    c.tickThrough(QTime(7, 29, 58), QTime(7, 29, 59, 500));
    QVERIFY(!c.dialog());
    c.tickThrough(QTime(7, 30, 0), QTime(7, 30, 59, 500));
    QCOMPARE(c.fakes.sound.played.size(), sounds);
    QCOMPARE(c.fakes.sound.played.first(), c.wav());
    QVERIFY(c.dialog());
    QCOMPARE(c.state.TerminModus, std::int16_t{2});
    // The alarm face: date and time of its opening, and the note.
    QCOMPARE(c.dialog()->windowTitle(), QStringLiteral(" Sonntag, 6. Dezember 2026     07:30:00"));
    QCOMPARE(c.element<QLabel>("lblAnzeigen")->text(), QStringLiteral("Bus"));
    QVERIFY(c.element<QGroupBox>("fraAnzeigen")->isVisible());
    QCOMPARE(c.element<QGroupBox>("fraAnzeigen")->y(), 2);
    QVERIFY(!c.element<QGroupBox>("fraEingeben")->isVisible());
    QVERIFY(c.dialog()->btnOK(1)->isDefault());
    // The clock stays usable while the alarm is shown.
    QVERIFY(c.window->isEnabled());
    c.tickAt(QTime(7, 31, 0));
    QCOMPARE(c.fakes.sound.played.size(), sounds);
}

void TstAppointment::acknowledgingEndsTheAlarm()
{
    Fixture c(QTime(7, 0));
    c.state.SignalModus = 0;
    c.enter(QStringLiteral("07"), QStringLiteral("30"), QStringLiteral("Bus"));
    c.tickThrough(QTime(7, 30, 0), QTime(7, 30, 20));
    const qsizetype played = c.fakes.sound.played.size();
    QCOMPARE(played, 41);
    c.dialog()->btnOK(1)->click();
    c.settle();
    QVERIFY(!c.dialog());
    QVERIFY(c.state.TerminQuittiert);
    QVERIFY(!c.state.TerminGesetzt);
    QCOMPARE(c.state.TerminZeit, QString());
    QVERIFY(c.window->lblTermin()->isHidden());
    QCOMPARE(c.height(), 96);
    c.tickThrough(QTime(7, 30, 20, 500), QTime(7, 30, 59, 500));
    QCOMPARE(c.fakes.sound.played.size(), played);
    QVERIFY(!c.dialog());
}

void TstAppointment::unacknowledgedAlarmEndsWithTheMinute()
{
    Fixture c(QTime(7, 0));
    c.state.SignalModus = 1;
    c.enter(QStringLiteral("07"), QStringLiteral("30"), QStringLiteral("Bus"));
    c.tickThrough(QTime(7, 30, 0), QTime(7, 31, 30));
    QCOMPARE(c.fakes.sound.played.size(), 1);
    // The dialog stays, the appointment stays set.
    QVERIFY(c.dialog());
    QVERIFY(c.state.TerminGesetzt);
    QVERIFY(!c.window->lblTermin()->isHidden());
    c.closeDialog();
    // The next day at the same time it is due again; the single sound was
    // given already, so it comes silently.
    c.fakes.clock.set(QDateTime(QDate(2026, 12, 7), QTime(7, 29, 59, 500)));
    c.window->Timer_Timer();
    QVERIFY(!c.dialog());
    c.fakes.clock.advance(500);
    c.window->Timer_Timer();
    QVERIFY(c.dialog());
    QCOMPARE(c.dialog()->windowTitle(), QStringLiteral(" Montag, 7. Dezember 2026     07:30:00"));
    QCOMPARE(c.fakes.sound.played.size(), 1);
}

void TstAppointment::closedAlarmReopensInTheSameMinute()
{
    Fixture c(QTime(7, 0));
    c.enter(QStringLiteral("07"), QStringLiteral("30"), QString());
    c.tickAt(QTime(7, 30, 5));
    QCOMPARE(c.element<QLabel>("lblAnzeigen")->text(), QString()); // an empty note shows nothing
    c.closeDialog();
    QVERIFY(!c.dialog());
    QVERIFY(c.window->isEnabled());
    c.tickAt(QTime(7, 30, 5, 500));
    QVERIFY(c.dialog());
    QVERIFY(c.element<QGroupBox>("fraAnzeigen")->isVisible());
}

void TstAppointment::openDialogKeepsItsFace()
{
    Fixture c(QTime(7, 0));
    c.enter(QStringLiteral("07"), QStringLiteral("30"), QStringLiteral("Bus"));
    c.tickAt(QTime(7, 30, 0));
    Termin *alarm = c.dialog();
    QVERIFY(alarm);
    c.trigger("MenuTerminEingeben");
    QCOMPARE(c.dialog(), alarm);
    QCOMPARE(c.state.TerminModus, std::int16_t{1});
    QVERIFY(c.element<QGroupBox>("fraAnzeigen")->isVisible());
    QVERIFY(!c.element<QGroupBox>("fraEingeben")->isVisible());
    c.closeDialog();
    QVERIFY(c.window->isEnabled());
}

void TstAppointment::appointmentForTheCurrentMinute()
{
    Fixture c(QTime(10, 15, 10));
    c.enter(QStringLiteral("10"), QStringLiteral("15"), QStringLiteral("jetzt"));
    QVERIFY(!c.dialog());
    c.tickAt(QTime(10, 15, 10, 500));
    QVERIFY(c.dialog());
    QCOMPARE(c.fakes.sound.played.size(), 1);
}

void TstAppointment::clockJumps_data()
{
    // The clock's last tick before it jumps, where it lands, and how often
    // the chime sounds from there over the next 70 seconds. The
    // appointment is at 09:30 (00:10 across midnight).
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("appointment");
    QTest::addColumn<QDateTime>("from");
    QTest::addColumn<QDateTime>("to");
    QTest::addColumn<bool>("acknowledged");
    QTest::addColumn<int>("sounds");
    const auto at = [](int day, int h, int m, int sec = 0) { return QDateTime(QDate(2026, 12, day), QTime(h, m, sec)); };
    const QString half = QStringLiteral("09:30");
    QTest::newRow("slept over it") << 0 << half << at(6, 9, 29) << at(6, 9, 45) << false << 120;
    QTest::newRow("slept over it, once") << 1 << half << at(6, 9, 29) << at(6, 9, 45) << false << 1;
    QTest::newRow("over midnight") << 0 << QStringLiteral("00:10") << at(6, 23, 59) << at(7, 0, 30) << false << 120;
    QTest::newRow("two days later") << 0 << half << at(6, 9, 29) << at(8, 10, 0) << false << 120;
    QTest::newRow("into the minute") << 0 << half << at(6, 9, 29) << at(6, 9, 30, 20) << false << 80;
    QTest::newRow("to just before it") << 0 << half << at(6, 9, 0) << at(6, 9, 29, 59) << false << 120;
    QTest::newRow("from inside it") << 0 << half << at(6, 9, 30, 10) << at(6, 9, 45) << false << 0;
    QTest::newRow("back after OK") << 0 << half << at(6, 9, 30) << at(6, 9, 0) << true << 0;
    QTest::newRow("ahead after OK") << 0 << half << at(6, 9, 30) << at(6, 9, 45) << true << 0;
    // The nights the clocks change in Germany, whatever zone the machine has:
    // 02:30 never comes on 29 March, and comes twice on 25 October.
    const QTimeZone berlin("Europe/Berlin");
    const QDateTime lastWinterTick(QDate(2026, 3, 29), QTime(1, 59, 59, 500), berlin);
    QTest::newRow("summer time begins") << 1 << QStringLiteral("02:30") << lastWinterTick << lastWinterTick.addMSecs(500) << false << 1;
    const QDateTime summer(QDate(2026, 10, 25), QTime(2, 30), berlin);
    QTest::newRow("summer time ends, after OK") << 0 << QStringLiteral("02:30") << summer << summer.addSecs(3600) << true << 0;
}

void TstAppointment::clockJumps()
{
    QFETCH(int, mode);
    QFETCH(QString, appointment);
    QFETCH(QDateTime, from);
    QFETCH(QDateTime, to);
    QFETCH(bool, acknowledged);
    QFETCH(int, sounds);
    Fixture c(QTime(8, 0));
    c.state.SignalModus = static_cast<std::int16_t>(mode);
    c.enter(appointment.left(2), appointment.mid(3), QStringLiteral("Bus"));
    c.fakes.clock.set(from);
    c.window->Timer_Timer();
    if (acknowledged) {
        QVERIFY(c.dialog());
        c.dialog()->btnOK(1)->click();
        c.settle();
    }
    c.fakes.sound.played.clear();
    c.fakes.clock.set(to);
    c.window->Timer_Timer();
    if (!c.fakes.sound.played.isEmpty()) {
        // The alarm shows the moment it rang.
        QVERIFY2(c.dialog()->windowTitle().endsWith(to.time().toString(QStringLiteral("HH:mm:ss"))), qPrintable(c.dialog()->windowTitle()));
    }
    const QDateTime end = to.addSecs(70);
    while (c.fakes.clock.now() < end) {
        c.fakes.clock.advance(500);
        c.window->Timer_Timer();
    }
    QCOMPARE(c.fakes.sound.played.size(), sounds);
}

void TstAppointment::readByAScreenReader()
{
    // What AT-SPI hands a screen reader: the time, the labels in words, the
    // controls' names, the bars' values as the boxes show them, the alarm.
    Fixture c(QTime(9, 28, 59, 750));
    c.tickAt(QTime(9, 29, 0));
    QAccessibleInterface *clock = QAccessible::queryAccessibleInterface(c.window.get());
    QCOMPARE(clock->text(QAccessible::Name), QStringLiteral("09:29, Sonntag, 6. Dezember 2026"));
    QCOMPARE(clock->text(QAccessible::Description), QString());
    // The labels are there; the segment and colon pictures are not.
    QCOMPARE(clock->childCount(), 2);
    for (int i = 0; i < clock->childCount(); ++i)
        QVERIFY(qobject_cast<QLabel *>(clock->child(i)->object()));

    c.trigger("MenuTerminEingeben");
    QAccessibleInterface *hourBar = QAccessible::queryAccessibleInterface(c.element<QScrollBar>("scrStd"));
    c.element<QScrollBar>("scrStd")->setValue(23 - 13);
    QCOMPARE(c.element<QLineEdit>("txtStd")->text(), QStringLiteral("13"));
    QCOMPARE(hourBar->valueInterface()->currentValue().toInt(), 13);
    QCOMPARE(QAccessible::queryAccessibleInterface(c.element<QScrollBar>("scrMin"))->valueInterface()->currentValue().toInt(),
             c.element<QLineEdit>("txtMin")->text().toInt());
    const QList<QPair<const char *, QString>> names{{"scrStd", QStringLiteral("Stunde")}, {"txtStd", QStringLiteral("Stunde")},
                                                    {"txtMin", QStringLiteral("Minute")}, {"scrMin", QStringLiteral("Minute")},
                                                    {"txtTermin", QStringLiteral("Notiz")}};
    for (const auto &[name, spoken] : names)
        QCOMPARE(QAccessible::queryAccessibleInterface(c.element<QWidget>(name))->text(QAccessible::Name), spoken);
    c.closeDialog();

    c.enter(QStringLiteral("09"), QStringLiteral("30"), QStringLiteral("Zahnarzt anrufen"));
    c.trigger("MenuStopuhrStarten");
    c.trigger("MenuStopuhrAnhalten");
    QCOMPARE(clock->text(QAccessible::Description), QStringLiteral("Termin um 09:30: Zahnarzt anrufen. Stopuhr: 0 Minuten, angehalten"));

    // The next minute: a new name, and the alarm, an alert with the note.
    c.tickAt(QTime(9, 30, 0));
    QCOMPARE(clock->text(QAccessible::Name), QStringLiteral("09:30, Sonntag, 6. Dezember 2026"));
    QAccessibleInterface *alarm = QAccessible::queryAccessibleInterface(c.dialog());
    QCOMPARE(alarm->role(), QAccessible::AlertMessage);
    QCOMPARE(alarm->text(QAccessible::Description), QStringLiteral("Zahnarzt anrufen"));
}

QTEST_MAIN(TstAppointment)
#include "tst_appointment.moc"
