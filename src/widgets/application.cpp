#include "widgets/application.h"

#include "face/segmentpictures.h"
#include "widgets/accessibility.h"
#include "widgets/clockwindow.h"
#include "widgets/helpkey.h"

#include <QApplication>

namespace lumitakt {

void prepareApplication(ClockWindow &window, HelpViewer &help, const QString &helpFile)
{
    // One icon for all of the program's windows, the dialogs included: Qt
    // caches an icon's pixmaps by the picture they come from, so a picture
    // made anew for every dialog would leave a cache entry behind each time.
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(iconPicture())));
    installAccessibility();
    // F1 works as long as the clock window is there.
    qApp->installEventFilter(new HelpKey(help, helpFile, &window));
}

} // namespace lumitakt
