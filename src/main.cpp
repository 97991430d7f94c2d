#include "mainwindow/lumitakt.h"
#include "platform/clock.h"
#include "platform/commandstarter.h"
#include "platform/desktophelpviewer.h"
#include "platform/soundeffectplayer.h"
#include "platform/startup.h"
#include "sharedstate.h"
#include "version.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    const QByteArray platform = lumitakt::preferredPlatform(qgetenv("QT_QPA_PLATFORM"), qgetenv("XDG_SESSION_TYPE"),
                                                            qgetenv("WAYLAND_DISPLAY"), qgetenv("DISPLAY"));
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
    // Pixel art scales by whole numbers only: 150 % becomes 200 %, never a blur.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Round);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumitakt"));
    QApplication::setApplicationVersion(QStringLiteral(LUMITAKT_VERSION));

    lumitakt::SystemClock clock;
    lumitakt::DetachedCommandStarter commands;
    lumitakt::SoundEffectPlayer sound;
    lumitakt::DesktopHelpViewer help;
    lumitakt::SharedState state;

    lumitakt::Lumitakt window(state, {clock, commands, sound, help}, QCoreApplication::applicationDirPath());
    window.show();
    return app.exec();
}
