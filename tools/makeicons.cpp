// Writes the program's icons for the desktop's icon theme: the 16 x 16
// picture and its whole-number enlargements as PNG, and the same picture as
// scalable SVG, one square per pixel.
//   makeicons <output folder>   (writes <size>.png and scalable.svg)
#include "face/segmentpictures.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: makeicons <output folder>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(out.path()))
        return 1;
    for (const int scale : {1, 2, 3, 4, 8, 16}) {
        const QImage icon = lumitakt::iconPicture(scale);
        if (!icon.save(out.filePath(QStringLiteral("%1.png").arg(icon.width()))))
            return 1;
    }
    const QImage icon = lumitakt::iconPicture(1);
    QByteArray svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\" height=\"16\" viewBox=\"0 0 16 16\" "
                     "shape-rendering=\"crispEdges\">\n";
    for (int y = 0; y < icon.height(); ++y)
        for (int x = 0; x < icon.width(); ++x) {
            const QRgb c = icon.pixel(x, y);
            if (qAlpha(c) == 0)
                continue;
            svg += QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"1\" height=\"1\" fill=\"#%3\"/>\n")
                       .arg(x)
                       .arg(y)
                       .arg(c & 0xFFFFFF, 6, 16, QLatin1Char('0'))
                       .toUtf8();
        }
    svg += "</svg>\n";
    QFile file(out.filePath(QStringLiteral("scalable.svg")));
    return file.open(QIODevice::WriteOnly) && file.write(svg) == svg.size() ? 0 : 1;
}
