#pragma once

// What the widget tests share: a clock window on fake services, driven only
// by the test, and quiet about what the offscreen platform cannot do.

#include "control/clockcontroller.h"
#include "face/looks.h"
#include "face/picturestores.h"
#include "settings/settingskeeper.h"
#include "support/fakes.h"
#include "support/testdata.h"
#include "widgets/application.h"
#include "widgets/appointmentdialog.h"
#include "widgets/clockwindow.h"
#include "widgets/pictureelement.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

namespace lumitakt::test {

// The offscreen platform warns about every window feature it lacks (raise,
// size hints, keyboard grabs); those say nothing about the clock.
inline QtMessageHandler &previousMessageHandler()
{
    static QtMessageHandler handler = nullptr;
    return handler;
}

inline void quietOffscreen()
{
    previousMessageHandler() = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &message) {
        if (type == QtWarningMsg && message.startsWith(QStringLiteral("This plugin does not support")))
            return;
        previousMessageHandler()(type, context, message);
    });
}

// The element of an array of elements of one name with the given index.
template <typename T>
T *element(const QObject *parent, const QString &name, int index)
{
    if (!parent)
        return nullptr;
    for (T *child : parent->findChildren<T *>(name))
        if (child->property("index").toInt() == index)
            return child;
    return nullptr;
}

// The program's top-level window of that objectName (a dialog), if open.
template <typename T>
T *openWindow(const char *name)
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QLatin1String(name))
            if (T *window = qobject_cast<T *>(widget))
                return window;
    return nullptr;
}

// The picture set that a segment store ("Muster1".."MusterLCD") or a colon
// store ("TrennzeichenRot".."TrennzeichenLCD") belongs to, by its name; -1
// for none.
inline int pictureSetOf(const QString &store, bool colonStore)
{
    const auto sets = pictureSets();
    for (std::size_t i = 0; i < sets.size(); ++i)
        if (store == QStringView(colonStore ? sets[i].colonStore : sets[i].segmentStore))
            return static_cast<int>(i);
    return -1;
}
inline QPixmap storeSegment(const PictureStores &stores, const QString &store, int index)
{
    return stores.segment(pictureSetOf(store, false), index);
}
inline QPixmap storeColon(const PictureStores &stores, const QString &store)
{
    return stores.colon(pictureSetOf(store, true));
}

struct ClockFixture {
    FakeServices fakes;
    QTemporaryDir folder;
    std::unique_ptr<ClockController> controller;
    const ClockModel *model = nullptr; // the controller's
    std::unique_ptr<ClockWindow> window;
    PictureStores stores; // drawn by the same rules as the window's

    enum Show { Hidden, Shown };

    // A settings file with `ini` is laid in the program folder first, unless it is null.
    explicit ClockFixture(QDateTime start = at(QTime(14, 5, 33)), Show show = Hidden, const QByteArray &ini = {})
    {
        fakes.clock.set(start);
        // The helper that sets the clock: only the fake starter runs it.
        QFile helper(folder.filePath(QStringLiteral("lumitakt-sync")));
        if (helper.open(QIODevice::WriteOnly))
            helper.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
        if (!ini.isNull()) {
            QFile file(iniPath());
            if (file.open(QIODevice::WriteOnly))
                file.write(ini);
        }
        controller = std::make_unique<ClockController>(
            std::make_unique<SettingsKeeper>(iniPath(), desktopScreens(), ClockWindow::kStartSize), fakes.services(),
            ProgramFiles::inOneFolder(folder.path()));
        model = &controller->model();
        window = std::make_unique<ClockWindow>(*controller);
        prepareApplication(*window, fakes.help, controller->helpFile());
        timer()->stop();
        if (show == Shown)
            window->show();
    }
    explicit ClockFixture(QTime start, Show show = Shown) : ClockFixture(at(start), show) {}
    ~ClockFixture()
    {
        // Dialogs are windows of their own; none outlives its clock.
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (qobject_cast<ProgramDialog *>(widget))
                delete widget;
    }

    QString iniPath() const { return folder.filePath(QStringLiteral("Lumitakt.ini")); }
    QString helpFile() const { return folder.filePath(QStringLiteral("Lumitakt.html")); }

    QMenu *menu() const { return window->findChild<QMenu *>(QStringLiteral("Menu")); }
    QAction *item(const char *name) const { return window->findChild<QAction *>(QString::fromUtf8(name)); }
    void trigger(const char *name) const { item(name)->trigger(); }
    QTimer *timer() const { return controller->findChild<QTimer *>(QStringLiteral("Timer")); }
    PictureElement *segment(int position, int index) const
    {
        return element<PictureElement>(window.get(), QStringLiteral("Segment") + QString::number(position), index);
    }
    PictureElement *colon() const { return window->findChild<PictureElement *>(QStringLiteral("Trennzeichen")); }
    QLabel *appointmentLabel() const { return window->findChild<QLabel *>(QStringLiteral("lblTermin")); }
    QLabel *stopwatchLabel() const { return window->findChild<QLabel *>(QStringLiteral("lblStopuhr")); }
    static AppointmentDialog *appointmentDialog() { return openWindow<AppointmentDialog>("Termin"); }

    void tick() { controller->tick(); }
    void tickAt(QTime time)
    {
        fakes.clock.set(time);
        controller->tick();
    }
    // Ticks every half second from the clock's time up to and including
    // `end` (the next day when `end` lies before the current time).
    void tickUntil(QTime end)
    {
        QDateTime stop(fakes.clock.now().date(), end);
        if (stop < fakes.clock.now())
            stop = stop.addDays(1);
        while (fakes.clock.now() < stop) {
            fakes.clock.advance(500);
            controller->tick();
        }
    }
    void tickThrough(QTime from, QTime to)
    {
        tickAt(from);
        tickUntil(to);
    }
    // Lets closed dialogs go and the clock return from them.
    static void settle()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    int height() const { return window->frameGeometry().height(); }
    QByteArray iniFile() const
    {
        QFile file(iniPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Segments 1..7 of a position as "1" (lit) and "0" (dark).
    QString litSegments(int position) const
    {
        QString lit;
        for (int j = 1; j <= 7; ++j)
            lit += segment(position, j)->isHidden() ? u'0' : u'1';
        return lit;
    }
};

} // namespace lumitakt::test
