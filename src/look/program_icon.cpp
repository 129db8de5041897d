#include "look/program_icon.h"

#include <QApplication>
#include <QFile>
#include <QIconEngine>
#include <QImageReader>
#include <QPaintDevice>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QResource>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace look {

namespace {

// Our PNGs are read by Qt's own PNG reader. A reader left to guess the
// format asks every image plug-in installed first, which loads them all
// with their libraries (TIFF, WebP, MNG ...) for pictures that are PNG.
QPixmap ReadPng(const QString& file)
{
    QImageReader reader(file, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

// A size kept as bare pixels (see the icon renderer), in place; null where
// there is none.
QPixmap ReadPixels(const QString& file, int side)
{
    const QResource raw(file);
    if (!raw.isValid() || raw.compressionAlgorithm() != QResource::NoCompression ||
        raw.size() != qint64(side) * side * 4)
        return {};
    return QPixmap::fromImage(
        QImage(raw.data(), side, side, side * 4, QImage::Format_ARGB32_Premultiplied));
}

const QString kPicture = u":/icons/quillpost.svg"_s;

// A picture drawn into PNGs at build time, read only when a size of it is
// first shown: a toolbar of icons that decode all their sizes up front costs
// start-up milliseconds. A size that was not drawn comes from `picture`
// (an SVG file, through Qt's SVG icon plug-in) where there is one, or else
// is scaled from the nearest drawn size.
class DrawnIconEngine final : public QIconEngine {
public:
    DrawnIconEngine(QString folder, QString name, QList<int> sizes, QString picture = {},
                    bool offersSizes = false)
        : m_folder(std::move(folder)),
          m_name(std::move(name)),
          m_sizes(std::move(sizes)),
          m_picture(std::move(picture)),
          m_offersSizes(offersSizes)
    {
        std::sort(m_sizes.begin(), m_sizes.end());
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        QSize size = rect.size();
        if (painter->device()) size *= painter->device()->devicePixelRatio();
        painter->drawPixmap(rect, pixmap(size, mode, state));
    }

    // `size` in device pixels; square, as the pictures are.
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override
    {
        const int side = qMin(size.width(), size.height());
        if (side <= 0) return {};
        const QString key =
            u"quillpost-drawn:%1/%2:%3:%4"_s.arg(m_folder, m_name).arg(side).arg(int(mode));
        QPixmap drawn;
        if (QPixmapCache::find(key, &drawn)) return drawn;
        drawn = normalPixmap(side);
        // Disabled and selected looks as the style makes them for any icon.
        if (mode != QIcon::Normal && !drawn.isNull() && qobject_cast<QApplication*>(qApp)) {
            QStyleOption option;
            option.palette = QApplication::palette();
            drawn = QApplication::style()->generatedIconPixmap(mode, drawn, &option);
        }
        QPixmapCache::insert(key, drawn);
        return drawn;
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        const int side = qMin(size.width(), size.height());
        return {side, side};
    }

    // The drawn sizes where offered, else none, as for a scalable picture:
    // trays are then given the sizes they ask for. A window's icon must
    // offer them, for the X window system is given the icon once, at the
    // sizes the icon lists; listing none, it got 16 px alone, which taskbars
    // and switchers blew up blurred.
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        if (m_offersSizes)
            for (const int side : m_sizes) sizes.append({side, side});
        return sizes;
    }
    // Asked for at every turn a button or menu entry makes; the resources
    // do not change while the program runs.
    bool isNull() override
    {
        if (m_null < 0)
            m_null = m_sizes.isEmpty() || !QFile::exists(fileAt(m_sizes.constLast())) ? 1 : 0;
        return m_null == 1;
    }
    QString key() const override { return u"quillpost-drawn-icon"_s; }
    QIconEngine* clone() const override
    {
        return new DrawnIconEngine(m_folder, m_name, m_sizes, m_picture, m_offersSizes);
    }

private:
    QString fileAt(int size, const QString& suffix = u"png"_s) const
    {
        return u":/%1/%2-%3.%4"_s.arg(m_folder, m_name).arg(size).arg(suffix);
    }

    QPixmap normalPixmap(int side) const
    {
        QPixmap drawn;
        if (m_sizes.contains(side)) {
            drawn = ReadPixels(fileAt(side, u"argb"_s), side);
            if (drawn.isNull()) drawn = ReadPng(fileAt(side));
            if (!drawn.isNull()) return drawn;
        }
        if (!m_picture.isEmpty()) {
            drawn = QIcon(m_picture).pixmap(QSize(side, side));
            if (!drawn.isNull()) return drawn;
        }
        // The smallest drawn size that is larger, else the largest.
        const auto larger = std::lower_bound(m_sizes.cbegin(), m_sizes.cend(), side);
        const int nearest = larger != m_sizes.cend() ? *larger : m_sizes.constLast();
        drawn = ReadPng(fileAt(nearest));
        if (drawn.isNull()) return {};
        return drawn.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }

    QString m_folder;
    QString m_name;
    QList<int> m_sizes;
    QString m_picture;
    bool m_offersSizes;
    int m_null = -1;  // not yet known
};

}  // namespace

QIcon ProgramIcon()
{
    return QIcon(new DrawnIconEngine(u"window-icon"_s, u"quillpost"_s,
                                     {QUILLPOST_WINDOW_ICON_SIZES}, kPicture, true));
}

QIcon ToolbarIcon(const QString& name)
{
    return QIcon(new DrawnIconEngine(u"toolbar-icons"_s, name, {QUILLPOST_TOOLBAR_SIZES}));
}

QIcon TrayFrame(const QString& name)
{
    return QIcon(new DrawnIconEngine(u"tray-icons"_s, name, {QUILLPOST_TRAY_SIZES}));
}

}  // namespace look
