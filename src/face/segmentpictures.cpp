#include "face/segmentpictures.h"

#include "model/digits.h"

#include <QList>

#include <array>

namespace lumitakt {

namespace {

constexpr QSize kHorizontalBar{28, 9};
constexpr QSize kMiddleBar{22, 9};
constexpr QSize kVerticalBar{9, 25};
// Segments 1..7 in their digit: top, upper left, upper right, middle, lower
// left, lower right, bottom.
constexpr std::array<QPoint, kSegmentCount> kSegmentOffsets{{{2, 0}, {0, 2}, {23, 2}, {5, 23}, {0, 28}, {23, 28}, {2, 46}}};

PixelKind litOrOutline(int x, int outlineLeft, int outlineRight)
{
    if (x == outlineLeft || x == outlineRight)
        return PixelKind::Outline;
    if (x > outlineLeft && x < outlineRight)
        return PixelKind::Lit;
    return PixelKind::Transparent;
}

// Top bar: a trapezoid with its wide edge at the top.
PixelKind topBar(int x, int y)
{
    if (y == 0)
        return (x >= 1 && x <= 26) ? PixelKind::Outline : PixelKind::Transparent;
    if (y <= 7)
        return litOrOutline(x, y - 1, 28 - y);
    return (x >= 7 && x <= 20) ? PixelKind::Outline : PixelKind::Transparent;
}

// Middle bar: a flat hexagon, symmetric about row 4.
PixelKind middleBar(int x, int y)
{
    if (y > 4)
        y = 8 - y;
    if (y == 0)
        return (x >= 4 && x <= 17) ? PixelKind::Outline : PixelKind::Transparent;
    if (y <= 3)
        return litOrOutline(x, 4 - y, 17 + y);
    return litOrOutline(x, 0, 21);
}

// Upper left bar: slanted at the top, pointed at the bottom.
PixelKind upperLeftBar(int x, int y)
{
    if (y == 0)
        return x == 1 ? PixelKind::Outline : PixelKind::Transparent;
    if (y <= 6)
        return litOrOutline(x, 0, y + 1);
    if (y <= 20)
        return litOrOutline(x, 0, 8);
    if (y <= 23)
        return litOrOutline(x, y - 20, 28 - y);
    return x == 4 ? PixelKind::Outline : PixelKind::Transparent;
}

QImage drawPicture(QSize size, QRgb lit, auto kindAt)
{
    QImage image(size, QImage::Format_Indexed8);
    // Index 0 is the transparent entry; the others are the drawn colours.
    image.setColorTable(QList<QRgb>{qRgba(0, 0, 0, 0), lit, kOutlineGrey, kCornerBlack});
    for (int y = 0; y < size.height(); ++y) {
        uchar *line = image.scanLine(y);
        for (int x = 0; x < size.width(); ++x)
            line[x] = static_cast<uchar>(kindAt(x, y));
    }
    return image;
}

static_assert(static_cast<int>(PixelKind::Transparent) == 0 && static_cast<int>(PixelKind::Lit) == 1
              && static_cast<int>(PixelKind::Outline) == 2 && static_cast<int>(PixelKind::Corner) == 3,
              "the colour table above is indexed by the pixel kind");

} // namespace

QSize segmentSize(int index)
{
    switch (index) {
    case 1:
    case 7:
        return kHorizontalBar;
    case 4:
        return kMiddleBar;
    case 2:
    case 3:
    case 5:
    case 6:
        return kVerticalBar;
    default:
        return {};
    }
}

QPoint segmentOffset(int index)
{
    if (index < 1 || index > kSegmentCount)
        return {};
    return kSegmentOffsets[static_cast<std::size_t>(index - 1)];
}

PixelKind segmentPixel(int index, int x, int y)
{
    const QSize size = segmentSize(index);
    if (x < 0 || y < 0 || x >= size.width() || y >= size.height())
        return PixelKind::Transparent;
    const int right = size.width() - 1;
    const int bottom = size.height() - 1;
    switch (index) {
    case 1:
        return topBar(x, y);
    case 7:
        return topBar(x, bottom - y);
    case 4:
        return middleBar(x, y);
    case 2:
        return upperLeftBar(x, y);
    case 3:
        return upperLeftBar(right - x, y);
    case 5:
        return upperLeftBar(x, bottom - y);
    case 6:
        return upperLeftBar(right - x, bottom - y);
    default:
        return PixelKind::Transparent;
    }
}

PixelKind colonPixel(bool corners, int x, int y)
{
    if (x < 0 || y < 0 || x >= kColonSize.width() || y >= kColonSize.height())
        return PixelKind::Transparent;
    // Two dots of 10 x 10 pixels; fold the lower one onto the upper one.
    if (y >= 21)
        y = 30 - y;
    if (y >= 10)
        return PixelKind::Transparent;
    if (y >= 1 && y <= 8)
        return litOrOutline(x, 0, 9);
    if (x >= 1 && x <= 8)
        return PixelKind::Outline;
    // Outer corners: rows 0 and 30 at x = 0 and x = 9.
    return (y == 0 && corners) ? PixelKind::Corner : PixelKind::Transparent;
}

QImage segmentPicture(int index, QRgb lit)
{
    return drawPicture(segmentSize(index), lit, [index](int x, int y) { return segmentPixel(index, x, y); });
}

QImage colonPicture(QRgb lit, bool corners)
{
    return drawPicture(kColonSize, lit, [corners](int x, int y) { return colonPixel(corners, x, y); });
}

QImage startColonPicture(QRgb lit)
{
    QImage image = colonPicture(lit, false);
    image.setColor(static_cast<int>(PixelKind::Transparent), qRgb(0, 0, 0));
    return image;
}

namespace {

// The icon's figures: lit cells 3 wide (1 wide for the "1") and 7 high,
// sharing their outline columns with their neighbours.
constexpr int kIconTop = 4;
constexpr int kIconHeight = 7;

bool iconLit(int x, int y)
{
    const int row = y - kIconTop;
    if (row < 0 || row >= kIconHeight)
        return false;
    const int middle = kIconHeight / 2;
    const auto digitLit = [&](int left, int width, int digit) {
        const int col = x - left;
        if (col < 0 || col >= width)
            return false;
        const SegmentPattern pattern = segmentPattern(digit);
        const bool leftEdge = col == 0;
        const bool rightEdge = col == width - 1;
        const bool upper = row <= middle;
        const bool lower = row >= middle;
        return (row == 0 && segmentLit(pattern, 1)) || (leftEdge && upper && segmentLit(pattern, 2))
               || (rightEdge && upper && segmentLit(pattern, 3)) || (row == middle && segmentLit(pattern, 4))
               || (leftEdge && lower && segmentLit(pattern, 5)) || (rightEdge && lower && segmentLit(pattern, 6))
               || (row == kIconHeight - 1 && segmentLit(pattern, 7));
    };
    const bool colon = x == 5 && (row == 1 || row == kIconHeight - 2);
    return digitLit(1, 1, 1) || digitLit(3, 1, 1) || colon || digitLit(7, 3, 2) || digitLit(11, 3, 3);
}

} // namespace

QImage iconPicture(int scale)
{
    constexpr int kSize = 16;
    scale = qMax(1, scale);
    QImage image(kSize * scale, kSize * scale, QImage::Format_Indexed8);
    image.setColorTable(QList<QRgb>{qRgba(0, 0, 0, 0), qRgb(255, 0, 0), qRgb(0, 0, 0)});
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            uchar kind = 0;
            if (iconLit(x, y)) {
                kind = 1;
            } else {
                for (int dy = -1; dy <= 1 && kind == 0; ++dy)
                    for (int dx = -1; dx <= 1 && kind == 0; ++dx)
                        if (iconLit(x + dx, y + dy))
                            kind = 2;
            }
            for (int sy = 0; sy < scale; ++sy)
                for (int sx = 0; sx < scale; ++sx)
                    image.setPixel(x * scale + sx, y * scale + sy, kind);
        }
    }
    return image;
}

} // namespace lumitakt
