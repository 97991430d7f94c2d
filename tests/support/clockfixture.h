#pragma once

// What the widget tests share: a clock window on fake services, driven only
// by the test, and quiet about what the offscreen platform cannot do.

#include "clockface/pictureelement.h"
#include "mainwindow/lumitakt.h"
#include "platform/fakes.h"
#include "sharedstate.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
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

// 6 December 2026 at the given time.
inline QDateTime at(QTime time)
{
    return QDateTime(QDate(2026, 12, 6), time);
}

struct ClockFixture {
    FakeServices fakes;
    SharedState state;
    QTemporaryDir folder;
    std::unique_ptr<Lumitakt> window;

    enum Show { Hidden, Shown };

    // A settings file with `ini` is laid in the program folder first, unless it is null.
    explicit ClockFixture(QDateTime start = at(QTime(14, 5, 33)), Show show = Hidden, const QByteArray &ini = {})
    {
        fakes.clock.set(start);
        if (!ini.isNull()) {
            QFile file(folder.filePath(QStringLiteral("Lumitakt.ini")));
            if (file.open(QIODevice::WriteOnly))
                file.write(ini);
        }
        window = std::make_unique<Lumitakt>(state, fakes.services(), ProgramFiles::inOneFolder(folder.path()));
        window->timer()->stop();
        if (show == Shown)
            window->show();
    }
    explicit ClockFixture(QTime start, Show show = Shown) : ClockFixture(at(start), show) {}

    QAction *item(const char *name) const { return window->menuItem(QString::fromUtf8(name)); }
    void trigger(const char *name) const { item(name)->trigger(); }

    void tickAt(QTime time)
    {
        fakes.clock.set(time);
        window->Timer_Timer();
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
            window->Timer_Timer();
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
        QFile file(folder.filePath(QStringLiteral("Lumitakt.ini")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Segments 1..7 of a position as "1" (lit) and "0" (dark).
    QString litSegments(int position) const
    {
        QString lit;
        for (int j = 1; j <= 7; ++j)
            lit += window->segment(position, j)->isHidden() ? u'0' : u'1';
        return lit;
    }
};

} // namespace lumitakt::test
