#pragma once

#include <QList>
#include <QRect>
#include <QString>

namespace lumitakt {

class ClockWindow;
class HelpViewer;

// The application around the clock window: one icon for all of its
// windows, what screen readers are told, F1 in any of them opening the help.
void prepareApplication(ClockWindow &window, HelpViewer &help, const QString &helpFile);

// The screens of the desktop in pixels, the primary one first.
QList<QRect> desktopScreens();

} // namespace lumitakt
