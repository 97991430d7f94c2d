#include "settings/placement.h"

#include <cmath>

namespace lumitakt {

int twipsToPixels(std::int64_t twips)
{
    return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel));
}

QPoint keepOnScreen(QPoint savedTwips, QSize screenTwips, QSize windowTwips)
{
    QPoint p = savedTwips;
    if (p.x() < 0 || p.x() > screenTwips.width() - windowTwips.width())
        p.setX(0);
    if (p.y() < 0 || p.y() > screenTwips.height() - windowTwips.height())
        p.setY(0);
    return p;
}

QPoint keepOnScreens(QPoint savedTwips, const QList<QRect> &screensTwips, QSize windowTwips)
{
    if (screensTwips.isEmpty())
        return keepOnScreen(savedTwips, QSize(), windowTwips);
    const auto within = [](std::int64_t value, std::int64_t start, std::int64_t length, std::int64_t size) {
        return value >= start && value <= start + length - size;
    };
    for (const QRect &screen : screensTwips)
        if (within(savedTwips.x(), screen.x(), screen.width(), windowTwips.width())
            && within(savedTwips.y(), screen.y(), screen.height(), windowTwips.height()))
            return savedTwips;
    return keepOnScreen(savedTwips, screensTwips.first().size(), windowTwips);
}

} // namespace lumitakt
