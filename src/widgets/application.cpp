#include "widgets/application.h"

#include "face/segmentpictures.h"
#include "widgets/accessibility.h"
#include "widgets/clockwindow.h"
#include "widgets/helpkey.h"

#include <QApplication>
#include <QScreen>

namespace lumitakt {

QList<QRect> desktopScreens()
{
    QList<QRect> screens;
    if (const QScreen *primary = QGuiApplication::primaryScreen()) {
        screens.append(primary->geometry());
        for (const QScreen *screen : QGuiApplication::screens())
            if (screen != primary)
                screens.append(screen->geometry());
    }
    return screens;
}

void prepareApplication(ClockWindow &window, HelpViewer &help, const QString &helpFile)
{
    // One icon for all of the program's windows, the dialogs included: Qt
    // caches an icon's pixmaps by the picture they come from, so a picture
    // made anew for every dialog would leave a cache entry behind each time.
    // The sizes of the program file's icon, so that a task bar or Alt+Tab
    // shows a sharp picture instead of the smallest one enlarged.
    QIcon icon;
    for (const int scale : {1, 2, 3, 16})
        icon.addPixmap(QPixmap::fromImage(iconPicture(scale)));
    QApplication::setWindowIcon(icon);
    installAccessibility();
    // F1 works as long as the clock window is there.
    qApp->installEventFilter(new HelpKey(help, helpFile, &window));
}

} // namespace lumitakt
