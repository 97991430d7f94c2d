#include "support/clockfixture.h"

#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

#include <memory>

using namespace lumitakt;

namespace {

struct Fixture : test::ClockFixture {
    explicit Fixture(QTime start) : ClockFixture(start, Shown) {}
    static AppointmentDialog *dialog() { return appointmentDialog(); }
    // The OK button of a face (0 enter, 1 alarm, 2 signal) and a signal option (0 repeated, 1 once).
    static QPushButton *ok(int face) { return test::element<QPushButton>(dialog(), QStringLiteral("btnOK"), face); }
    static QRadioButton *option(int mode) { return test::element<QRadioButton>(dialog(), QStringLiteral("optTerminsignal"), mode); }
    void setSignalMode(int mode) { controller->chooseSignalMode(static_cast<std::int16_t>(mode)); }
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
        ok(0)->click();
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
    void readByAScreenReader();
};

void TstAppointment::enterFaceElements()
{
    Fixture c(QTime(14, 37));
    c.trigger("MenuTerminEingeben");
    AppointmentDialog *d = c.dialog();
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
        QCOMPARE(c.ok(i)->objectName(), QStringLiteral("btnOK"));
        QCOMPARE(c.ok(i)->property("index").toInt(), i);
        QCOMPARE(c.ok(i)->text(), QStringLiteral("OK"));
        QCOMPARE(c.ok(i)->geometry(), okRects[i]);
        QCOMPARE(c.ok(i)->isDefault(), i == 0);
    }
    QCOMPARE(c.option(0)->text(), QStringLiteral("wiederholen"));
    QCOMPARE(c.option(1)->text(), QStringLiteral("einmal"));
    QCOMPARE(c.option(0)->geometry(), QRect(156, 22, 100, 19));
    QCOMPARE(c.option(1)->geometry(), QRect(18, 22, 85, 19));
    QCOMPARE(c.option(0)->palette().color(QPalette::WindowText), QColor(0, 0, 255));

    // Tab order.
    const char *order[] = {"scrStd", "txtStd", "txtMin", "scrMin", "txtTermin"};
    for (int i = 0; i + 1 < 5; ++i)
        QCOMPARE(nextTabStop(d->findChild<QWidget *>(QString::fromLatin1(order[i]))),
                 d->findChild<QWidget *>(QString::fromLatin1(order[i + 1])));
    QCOMPARE(nextTabStop(c.element<QLineEdit>("txtTermin")), c.ok(0));
    // Enter presses OK.
    QTest::keyClick(c.element<QLineEdit>("txtTermin"), Qt::Key_Return);
    c.settle();
    QVERIFY(!c.dialog());
    QVERIFY(c.model->appointment().isSet());
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
    // A previous appointment rang its single sound and was acknowledged.
    c.controller->setAppointment(QTime(8, 0), QStringLiteral("vorher"));
    c.tickAt(QTime(8, 0));
    c.ok(1)->click();
    c.settle();
    QVERIFY(c.model->appointment().sounded);
    c.enter(QStringLiteral("09"), QStringLiteral("30"), QStringLiteral("Zahnarzt"));
    QCOMPARE(c.model->appointment().time.value_or(QTime()), QTime(9, 30));
    QCOMPARE(c.model->appointment().note, QStringLiteral("Zahnarzt"));
    QVERIFY(!c.model->appointment().sounded);
    QVERIFY(c.window->isEnabled());
    QCOMPARE(c.appointmentLabel()->text(), QStringLiteral("Termin   09:30"));
    QVERIFY(!c.appointmentLabel()->isHidden());
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
    c.ok(0)->click();
    c.settle();
    if (taken.isEmpty()) {
        QVERIFY(c.dialog());
        QVERIFY(!c.model->appointment().isSet());
        QCOMPARE(c.dialog()->focusWidget(), hour == u"12" ? txtMin : txtStd);
        return;
    }
    QVERIFY(!c.dialog());
    QCOMPARE(c.model->appointment().time.value_or(QTime()), QTime::fromString(taken, QStringLiteral("HH:mm")));
    QCOMPARE(c.appointmentLabel()->text(), QStringLiteral("Termin   ") + taken);
    // And it rings in its minute.
    c.tickAt(QDateTime::fromString(taken, QStringLiteral("HH:mm")).time());
    QVERIFY(c.dialog());
    QCOMPARE(c.fakes.sound.played.size(), 1);
}

void TstAppointment::clearCommand()
{
    Fixture c(QTime(8, 0));
    c.setSignalMode(1);
    c.enter(QStringLiteral("09"), QStringLiteral("30"), QStringLiteral("Zahnarzt"));
    c.trigger("MenuTerminLöschen");
    QVERIFY(!c.dialog());
    QVERIFY(c.window->isEnabled());
    QVERIFY(!c.model->appointment().time);
    QVERIFY(!c.model->appointment().isSet());
    QCOMPARE(c.model->appointment().note, QStringLiteral("Zahnarzt"));
    QCOMPARE(c.appointmentLabel()->text(), QStringLiteral("Termin   "));
    QVERIFY(c.appointmentLabel()->isHidden());
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
    QVERIFY(!c.model->appointment().isSet());
    QVERIFY(!c.model->appointment().time);
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
    c.setSignalMode(mode);
    c.trigger("MenuTerminSignal");
    AppointmentDialog *d = c.dialog();
    QCOMPARE(d->windowTitle(), QStringLiteral(" Termin signalisieren"));
    QVERIFY(c.element<QGroupBox>("fraTerminSignal")->isVisible());
    QCOMPARE(c.element<QGroupBox>("fraTerminSignal")->y(), 2);
    QVERIFY(!c.element<QGroupBox>("fraEingeben")->isVisible());
    QVERIFY(!c.element<QGroupBox>("fraAnzeigen")->isVisible());
    for (int i = 0; i < 3; ++i)
        QVERIFY(!c.ok(i)->isDefault());
    QCOMPARE(c.option(1)->isChecked(), einmal);
    QCOMPARE(c.option(0)->isChecked(), wiederholen);
    QCOMPARE(c.model->settings().signalMode, std::int16_t(mode)); // nothing changes by looking

    // A choice is stored at once and kept when the dialog is closed.
    QTest::mouseClick(c.option(mode == 0 ? 1 : 0), Qt::LeftButton);
    const std::int16_t chosen = mode == 0 ? 1 : 0;
    QCOMPARE(c.model->settings().signalMode, chosen);
    c.closeDialog();
    QCOMPARE(c.model->settings().signalMode, chosen);
    QVERIFY(c.window->isEnabled());

    // OK closes too.
    c.trigger("MenuTerminSignal");
    c.ok(2)->click();
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
    c.setSignalMode(mode);
    c.enter(QStringLiteral("07"), QStringLiteral("30"), QStringLiteral("Bus"));
    c.tickThrough(QTime(7, 29, 58), QTime(7, 29, 59, 500));
    QVERIFY(!c.dialog());
    c.tickThrough(QTime(7, 30, 0), QTime(7, 30, 59, 500));
    QCOMPARE(c.fakes.sound.played.size(), sounds);
    QCOMPARE(c.fakes.sound.played.first(), c.wav());
    QVERIFY(c.dialog());
    // The alarm face: date and time of its opening, and the note.
    QCOMPARE(c.dialog()->windowTitle(), QStringLiteral(" Sonntag, 6. Dezember 2026     07:30:00"));
    QCOMPARE(c.element<QLabel>("lblAnzeigen")->text(), QStringLiteral("Bus"));
    QVERIFY(c.element<QGroupBox>("fraAnzeigen")->isVisible());
    QCOMPARE(c.element<QGroupBox>("fraAnzeigen")->y(), 2);
    QVERIFY(!c.element<QGroupBox>("fraEingeben")->isVisible());
    QVERIFY(c.ok(1)->isDefault());
    // The clock stays usable while the alarm is shown.
    QVERIFY(c.window->isEnabled());
    c.tickAt(QTime(7, 31, 0));
    QCOMPARE(c.fakes.sound.played.size(), sounds);
}

void TstAppointment::acknowledgingEndsTheAlarm()
{
    Fixture c(QTime(7, 0));
    c.setSignalMode(0);
    c.enter(QStringLiteral("07"), QStringLiteral("30"), QStringLiteral("Bus"));
    c.tickThrough(QTime(7, 30, 0), QTime(7, 30, 20));
    const qsizetype played = c.fakes.sound.played.size();
    QCOMPARE(played, 41);
    c.ok(1)->click();
    c.settle();
    QVERIFY(!c.dialog());
    QVERIFY(!c.model->appointment().isSet());
    QVERIFY(!c.model->appointment().time);
    QVERIFY(c.appointmentLabel()->isHidden());
    QCOMPARE(c.height(), 96);
    c.tickThrough(QTime(7, 30, 20, 500), QTime(7, 30, 59, 500));
    QCOMPARE(c.fakes.sound.played.size(), played);
    QVERIFY(!c.dialog());
}

void TstAppointment::unacknowledgedAlarmEndsWithTheMinute()
{
    Fixture c(QTime(7, 0));
    c.setSignalMode(1);
    c.enter(QStringLiteral("07"), QStringLiteral("30"), QStringLiteral("Bus"));
    c.tickThrough(QTime(7, 30, 0), QTime(7, 31, 30));
    QCOMPARE(c.fakes.sound.played.size(), 1);
    // The dialog stays, the appointment stays set.
    QVERIFY(c.dialog());
    QVERIFY(c.model->appointment().isSet());
    QVERIFY(!c.appointmentLabel()->isHidden());
    c.closeDialog();
    // The next day at the same time it is due again; the single sound was
    // given already, so it comes silently.
    c.fakes.clock.set(QDateTime(QDate(2026, 12, 7), QTime(7, 29, 59, 500)));
    c.tick();
    QVERIFY(!c.dialog());
    c.fakes.clock.advance(500);
    c.tick();
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
    AppointmentDialog *alarm = c.dialog();
    QVERIFY(alarm);
    c.trigger("MenuTerminEingeben");
    QCOMPARE(c.dialog(), alarm);
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
