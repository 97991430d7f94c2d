// Writes the program's icons for the desktop's icon theme: the 16 x 16
// picture and its whole-number enlargements as PNG, and the same picture as
// scalable SVG, one square per pixel; and Windows' icon file with the sizes
// Windows shows.
//   makeicons <output folder>   (writes <size>.png, scalable.svg, lumitakt.ico)
#include "face/segmentpictures.h"

#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>

namespace {

// An .ico file whose pictures are stored as PNG, as Windows reads them since Vista.
QByteArray icoFile(const QList<QImage> &pictures)
{
    QList<QByteArray> pngs;
    for (const QImage &picture : pictures) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        picture.convertToFormat(QImage::Format_ARGB32).save(&buffer, "PNG");
        pngs.append(buffer.data());
    }
    QByteArray ico;
    QDataStream out(&ico, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16{0} << quint16{1} << static_cast<quint16>(pictures.size());
    quint32 offset = 6 + 16 * static_cast<quint32>(pictures.size());
    for (qsizetype i = 0; i < pictures.size(); ++i) {
        const int size = pictures[i].width(); // 256 is written as 0
        out << static_cast<quint8>(size % 256) << static_cast<quint8>(size % 256) << quint8{0} << quint8{0} << quint16{1} << quint16{32}
            << static_cast<quint32>(pngs[i].size()) << offset;
        offset += static_cast<quint32>(pngs[i].size());
    }
    for (const QByteArray &png : pngs)
        out.writeRawData(png.constData(), static_cast<int>(png.size()));
    return ico;
}

} // namespace

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
    QFile ico(out.filePath(QStringLiteral("lumitakt.ico")));
    const QByteArray icoBytes = icoFile({lumitakt::iconPicture(1), lumitakt::iconPicture(2), lumitakt::iconPicture(3), lumitakt::iconPicture(16)});
    if (!ico.open(QIODevice::WriteOnly) || ico.write(icoBytes) != icoBytes.size())
        return 1;
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
