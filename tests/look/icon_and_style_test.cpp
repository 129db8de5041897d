// The application style and the program's drawn icons.
#include <gtest/gtest.h>
#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QResource>
#include <QStyle>
#include <QStyleFactory>

#include <cstdlib>
#include <memory>

#include "look/app_style.h"
#include "look/program_icon.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// The application's style draws what the style it wraps draws, the overflow
// arrows of menu bars and toolbars included, which it reads only when asked.
TEST(ApplicationStyleTest, DrawsTheIconsOfTheStyleItWraps)
{
    std::unique_ptr<QStyle> style(look::MakeApplicationStyle());
    ASSERT_NE(style, nullptr);
    std::unique_ptr<QStyle> wrapped(QStyleFactory::create(QApplication::style()->name()));
    for (const auto which :
         {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton,
          QStyle::SP_MessageBoxWarning, QStyle::SP_ArrowUp}) {
        const QIcon icon = style->standardIcon(which);
        const QIcon expected = wrapped->standardIcon(which);
        EXPECT_FALSE(icon.isNull()) << which;
        for (const int side : {8, 16, 32}) {
            const QImage drawn = icon.pixmap(side, side).toImage();
            EXPECT_FALSE(drawn.isNull()) << which << " " << side;
            EXPECT_EQ(drawn, expected.pixmap(side, side).toImage()) << which << " " << side;
        }
        EXPECT_EQ(icon.actualSize(QSize(64, 64)), expected.actualSize(QSize(64, 64))) << which;
    }
}

// Given to the window system once, the window icon must list its sizes.
TEST(ProgramIconTest, OffersEveryDrawnSize)
{
    QList<QSize> drawn;
    for (const int side : {16, 24, 32, 48, 64, 96, 128, 192, 256}) drawn.append({side, side});
    EXPECT_EQ(look::ProgramIcon().availableSizes(), drawn);
}

// The window and toolbar icons' sizes kept as bare pixels are the pictures
// drawn as PNGs, the same but for rounding where a pixel is almost clear.
TEST(ProgramIconTest, BarePixelsShowThePicturesDrawnAsPngs)
{
    const struct {
        QIcon icon;
        QString png;
        QList<int> sides;
    } pictures[] = {
        {look::ProgramIcon(), u":/window-icon/quillpost-%1.png"_s, {16, 24, 32, 64, 128, 256}},
        {look::ToolbarIcon(u"bold"_s), u":/toolbar-icons/bold-%1.png"_s, {22, 33, 44}},
        {look::ToolbarIcon(u"send-to-clipboard"_s),
         u":/toolbar-icons/send-to-clipboard-%1.png"_s,
         {22}},
    };
    // The sizes shown first are there to be read in place.
    for (const QString& pixels :
         {u":/window-icon/quillpost-16.argb"_s, u":/window-icon/quillpost-128.argb"_s,
          u":/toolbar-icons/bold-22.argb"_s}) {
        const QResource resource(pixels);
        EXPECT_TRUE(resource.isValid()) << pixels.toStdString();
        EXPECT_EQ(resource.compressionAlgorithm(), QResource::NoCompression)
            << pixels.toStdString();
    }
    for (const auto& [icon, png, sides] : pictures) {
        for (const int side : sides) {
            SCOPED_TRACE((png.arg(side)).toStdString());
            const QImage shown =
                icon.pixmap(side, side).toImage().convertToFormat(QImage::Format_ARGB32);
            const QImage drawn = QImage(png.arg(side)).convertToFormat(QImage::Format_ARGB32);
            ASSERT_EQ(shown.size(), QSize(side, side));
            ASSERT_EQ(drawn.size(), QSize(side, side));
            int worst = 0;
            int opaque = 0;
            for (int y = 0; y < side; ++y)
                for (int x = 0; x < side; ++x) {
                    const QRgb a = shown.pixel(x, y);
                    const QRgb b = drawn.pixel(x, y);
                    if (qAlpha(b) == 255) ++opaque;
                    // Colour means little where a pixel is almost clear.
                    const int tolerance = qAlpha(b) < 16 ? 255 : 0;
                    worst = std::max({worst, std::abs(qAlpha(a) - qAlpha(b)),
                                      std::abs(qRed(a) - qRed(b)) - tolerance,
                                      std::abs(qGreen(a) - qGreen(b)) - tolerance,
                                      std::abs(qBlue(a) - qBlue(b)) - tolerance});
                }
            EXPECT_LE(worst, 1);
            EXPECT_GT(opaque, side * 2);
        }
    }
}

}  // namespace
