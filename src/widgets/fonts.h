#pragma once

#include <QFont>

namespace lumitakt {

// The program's texts are Arial at sizes given in points at 96 dpi; they
// are set in pixels so that they keep their size on any screen.
inline QFont arialFont(int pixels, bool bold = false)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

} // namespace lumitakt
