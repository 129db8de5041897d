// Draws an SVG picture into square PNGs of the given sizes, for the icon
// theme's fixed sizes and the program's toolbar and tray pictures:
//   quillpost_render_icon IN.svg OUT.png SIZE [OUT.png SIZE ...]
// An OUT ending in .argb gets the bare pixels instead, premultiplied ARGB
// words in this machine's byte order, row after row: a picture the program
// shows before its window appears, taken without decoding.
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    if (argc < 4 || argc % 2 != 0) {
        std::fprintf(stderr, "usage: %s IN.svg OUT.png SIZE [OUT.png SIZE ...]\n", argv[0]);
        return 2;
    }
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) {
        std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[1]);
        return 1;
    }
    for (int i = 2; i < argc; i += 2) {
        const int size = std::atoi(argv[i + 1]);
        if (size <= 0) {
            std::fprintf(stderr, "%s: cannot draw %s at %s px\n", argv[0], argv[1], argv[i + 1]);
            return 1;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter, QRectF(0, 0, size, size));
        painter.end();
        const QString out = QString::fromLocal8Bit(argv[i]);
        bool written = false;
        if (out.endsWith(QLatin1String(".argb"))) {
            QFile raw(out);
            written = raw.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                      raw.write(reinterpret_cast<const char*>(image.constBits()),
                                image.sizeInBytes()) == image.sizeInBytes();
        } else {
            written = image.save(out, "PNG");
        }
        if (!written) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[i]);
            return 1;
        }
    }
    return 0;
}
