#include "control/clockcontroller.h"
#include "platform/clock.h"
#include "platform/commandstarter.h"
#include "platform/quitsignals.h"
#include "platform/singleclock.h"
#include "platform/startup.h"
#include "platform/system.h"
#include "settings/settingskeeper.h"
#include "widgets/application.h"
#include "version.h"
#include "widgets/clockwindow.h"
#include "widgets/helpwindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    lumitakt::QuitSignals::endAtOnceUntilCaught();
    lumitakt::prepareProcess();
    const QByteArray platform = lumitakt::preferredPlatform(qgetenv("QT_QPA_PLATFORM"), qgetenv("XDG_SESSION_TYPE"),
                                                            qgetenv("WAYLAND_DISPLAY"), qgetenv("DISPLAY"));
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
    // Pixel art scales by whole numbers only: 150 % becomes 200 %, never a blur.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Round);
    // The window is small and a tick repaints a few hundred pixels: sent over
    // the X connection they cost less than through shared memory, which makes
    // Qt wait for the X server before every repaint. Only this program's own
    // connection is meant: the programs it starts get the environment as it was.
    const bool sharedMemoryChosen = qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM");
    if (!sharedMemoryChosen)
        qputenv("QT_XCB_NO_MITSHM", "1");
    QApplication app(argc, argv);
    if (!sharedMemoryChosen)
        qunsetenv("QT_XCB_NO_MITSHM");
    QApplication::setApplicationName(QStringLiteral("Lumitakt"));
    QApplication::setApplicationVersion(QStringLiteral(LUMITAKT_VERSION));
    lumitakt::keepLog();

    lumitakt::SystemClock clock;
    lumitakt::ProcessCommandStarter commands;
    const std::unique_ptr<lumitakt::SoundPlayer> sound = lumitakt::systemSoundPlayer([] { QApplication::beep(); });
    lumitakt::HelpWindowViewer help;

    const lumitakt::ProgramFiles files =
        lumitakt::ProgramFiles::find(QCoreApplication::applicationDirPath(), lumitakt::userSettingsFolder());
    lumitakt::SingleClock single(files.settingsFile);
    if (single.claim() == lumitakt::SingleClock::Claim::ShownOther)
        return 0;
    lumitakt::ClockController controller(
        std::make_unique<lumitakt::SettingsKeeper>(files.settingsFile, lumitakt::desktopScreens(),
                                                   lumitakt::ClockWindow::kStartSize, single.writeRefusal()),
        {clock, commands, *sound, help}, files);
    lumitakt::ClockWindow window(controller);
    lumitakt::prepareApplication(window, help, controller.helpFile());

    // The clock usually ends with the session, not with its close button:
    // every way out keeps the settings. SIGTERM, SIGINT and SIGHUP end the
    // run as the close button does, dialogs included; the session manager's
    // request to save comes before it may end the program without asking;
    // and whatever else leaves the event loop still saves.
    lumitakt::QuitSignals quitSignals;
    QObject::connect(&quitSignals, &lumitakt::QuitSignals::quitRequested, &app, [&window] {
        window.close();
        QCoreApplication::quit();
    });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &controller, &lumitakt::ClockController::saveSettings,
                     Qt::DirectConnection);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &controller, &lumitakt::ClockController::saveSettings);
    // Once the settings are saved: the lock goes too, also where the end of a
    // Windows session ends the process right after this signal.
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &single, &lumitakt::SingleClock::release);
    QObject::connect(&single, &lumitakt::SingleClock::showRequested, &window, &lumitakt::ClockWindow::showInFront);

    window.show();
    return app.exec();
}
