#include "app/program_icon.h"

#include <QFile>
#include <QIconEngine>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QSvgRenderer>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kPicture = u":/icons/quillpost.svg"_s;

class ProgramIconEngine final : public QIconEngine {
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        QSize size = rect.size();
        if (painter->device()) size *= painter->device()->devicePixelRatio();
        painter->drawPixmap(rect, pixmap(size, mode, state));
    }

    // `size` in device pixels; square, as the picture is.
    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        const int side = qMin(size.width(), size.height());
        if (side <= 0) return {};
        QPixmap drawn;
        if (drawn.load(u":/window-icon/quillpost-%1.png"_s.arg(side))) return drawn;
        const QString key = u"quillpost-program-icon:%1"_s.arg(side);
        if (QPixmapCache::find(key, &drawn)) return drawn;
        QSvgRenderer picture(kPicture);
        QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        picture.render(&painter);
        painter.end();
        drawn = QPixmap::fromImage(image);
        QPixmapCache::insert(key, drawn);
        return drawn;
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        const int side = qMin(size.width(), size.height());
        return {side, side};
    }

    // None: the window system is then given the sizes it is always given
    // for a scalable picture.
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {}; }
    bool isNull() override { return !QFile::exists(kPicture); }
    QString key() const override { return u"quillpost-program-icon"_s; }
    QIconEngine* clone() const override { return new ProgramIconEngine; }
};

}  // namespace

QIcon ProgramIcon()
{
    return QIcon(new ProgramIconEngine);
}
