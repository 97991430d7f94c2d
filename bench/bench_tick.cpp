// Cost of one clock tick, offscreen with a fake clock: the tick alone, and
// the tick with the repaint it causes.
#include "mainwindow/lumitakt.h"
#include "platform/fakes.h"
#include "sharedstate.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int ticks = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 200000;

    lumitakt::FakeServices fakes;
    lumitakt::SharedState state;
    lumitakt::Lumitakt window(state, fakes.services(), QCoreApplication::applicationDirPath());
    window.timer()->stop();
    window.show();
    QCoreApplication::processEvents();

    const auto run = [&](bool paint) {
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < ticks; ++i) {
            fakes.clock.advance(500);
            window.Timer_Timer();
            if (paint)
                QCoreApplication::processEvents();
        }
        return static_cast<double>(timer.nsecsElapsed()) / 1000.0 / ticks;
    };
    run(false); // warm up
    const double tickOnly = run(false);
    const double withPaint = run(true);
    std::printf("ticks: %d\n", ticks);
    std::printf("tick alone:            %.3f us per tick\n", tickOnly);
    std::printf("tick with its repaint: %.3f us per tick\n", withPaint);
    return 0;
}
