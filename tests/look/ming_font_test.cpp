// The font helper: the faces asked for, the size, and that this desktop
// really finds a Chinese face among them.
#include <gtest/gtest.h>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QWidget>

#include "look/ming_font.h"

using namespace Qt::Literals::StringLiterals;

TEST(MingFont, AsksForTheWindowsFaceFirstThenDebianMingFaces)
{
    const QStringList expected{u"新細明體"_s, u"PMingLiU"_s, u"AR PL UMing TW"_s,
                               u"Noto Serif CJK TC"_s, u"Noto Sans CJK TC"_s};
    EXPECT_EQ(look::MingFontFamilies(), expected);
    EXPECT_EQ(look::MingFont(13).families(), expected);
}

TEST(MingFont, SizeIsInPixels)
{
    for (const int pixels : {13, 15, 16}) {
        const QFont font = look::MingFont(pixels);
        EXPECT_EQ(font.pixelSize(), pixels);
        EXPECT_EQ(font.pointSize(), -1) << "the size must not be given in points";
        EXPECT_EQ(QFontInfo(font).pixelSize(), pixels);
    }
}

TEST(MingFont, ResolvesToOneOfTheRequestedFaces)
{
    const QFont font = look::MingFont(16);
    const QString resolved = QFontInfo(font).family();
    EXPECT_TRUE(look::MingFontFamilies().contains(resolved))
        << "resolved to " << resolved.toStdString();
}

TEST(MingFont, HasGlyphsForTheDialogTexts)
{
    const QFontMetrics metrics(look::MingFont(16));
    for (const QChar c : u"說明版本使用方式注意事項■●◎「」，："_s)
        EXPECT_TRUE(metrics.inFont(c)) << "missing U+" << std::hex << int(c.unicode());
    // A space keeps its width, so indented lines stay indented.
    EXPECT_GT(metrics.horizontalAdvance(u"    "_s), 0);
}

TEST(MingFont, StaysRegularInsideABoldParent)
{
    QWidget parent;
    QFont bold = look::MingFont(16);
    bold.setBold(true);
    bold.setItalic(true);
    parent.setFont(bold);
    QWidget child(&parent);
    child.setFont(look::MingFont(13));
    EXPECT_FALSE(child.font().bold());
    EXPECT_FALSE(child.font().italic());
    EXPECT_EQ(child.font().pixelSize(), 13);
}
