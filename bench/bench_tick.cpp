// Cost of one clock tick, offscreen with a fake clock: the tick alone, the
// tick with the repaint it causes, what the repaints cover, and whether a
// steady tick leaves memory behind.
//
//   bench_tick [ticks]          the figures, as lines of "name: value"
//   bench_tick --only N paint   N ticks and nothing else, for counting
//   bench_tick --only N alone   instructions under callgrind
#include "control/clockcontroller.h"
#include "settings/settingskeeper.h"
#include "support/fakes.h"
#include "widgets/application.h"
#include "widgets/clockwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMap>
#include <QPaintEvent>
#include <QTimer>

#include <cstdio>
#include <malloc.h>

namespace {

// Counts the paint events of every widget and the pixels they cover.
class PaintCounter : public QObject {
public:
    qint64 events = 0;
    qint64 pixels = 0;
    QMap<QString, qint64> byName;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            ++events;
            for (const QRect &r : static_cast<QPaintEvent *>(event)->region())
                pixels += static_cast<qint64>(r.width()) * r.height();
            ++byName[watched->objectName().isEmpty() ? QString::fromLatin1(watched->metaObject()->className())
                                                     : watched->objectName()];
        }
        return false;
    }
};

std::size_t heapInUse()
{
    return mallinfo2().uordblks;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const bool only = args.size() > 2 && args.at(1) == QLatin1String("--only");
    const int ticks = only ? args.at(2).toInt() : args.size() > 1 ? args.at(1).toInt() : 200000;

    lumitakt::FakeServices fakes;
    const lumitakt::ProgramFiles files = lumitakt::ProgramFiles::inOneFolder(QCoreApplication::applicationDirPath());
    lumitakt::ClockController controller(
        std::make_unique<lumitakt::SettingsKeeper>(files.settingsFile, lumitakt::desktopScreens(), lumitakt::ClockWindow::kStartSize),
        fakes.services(), files);
    lumitakt::ClockWindow window(controller);
    controller.findChild<QTimer *>(QStringLiteral("Timer"))->stop();
    window.show();
    QCoreApplication::processEvents();

    const auto run = [&](int count, bool paint) {
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < count; ++i) {
            fakes.clock.advance(500);
            controller.tick();
            if (paint)
                QCoreApplication::processEvents();
        }
        return static_cast<double>(timer.nsecsElapsed()) / 1000.0 / count;
    };

    if (only) {
        run(ticks, args.size() < 4 || args.at(3) != QLatin1String("alone"));
        return 0;
    }

    run(ticks, true); // warm up: every digit, caption and cache seen once

    PaintCounter counter;
    app.installEventFilter(&counter);
    const std::size_t heapBefore = heapInUse();
    const double withPaint = run(ticks, true);
    const std::size_t heapAfter = heapInUse();
    app.removeEventFilter(&counter);
    const double tickOnly = run(ticks, false);

    const QSize size = window.size();
    std::printf("ticks: %d\n", ticks);
    std::printf("tick alone: %.3f us\n", tickOnly);
    std::printf("tick with its repaint: %.3f us\n", withPaint);
    std::printf("paint events per tick: %.3f\n", static_cast<double>(counter.events) / ticks);
    std::printf("pixels painted per tick: %.1f of %d in the window\n", static_cast<double>(counter.pixels) / ticks,
                size.width() * size.height());
    for (auto it = counter.byName.cbegin(); it != counter.byName.cend(); ++it)
        std::printf("  painted %-20s %.4f per tick\n", qPrintable(it.key()), static_cast<double>(it.value()) / ticks);
    std::printf("heap growth over the ticks: %lld bytes\n",
                static_cast<long long>(heapAfter) - static_cast<long long>(heapBefore));
    return 0;
}
