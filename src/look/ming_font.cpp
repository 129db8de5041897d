#include "look/ming_font.h"

using namespace Qt::Literals::StringLiterals;

namespace look {

QStringList MingFontFamilies()
{
    // The Windows face under its Chinese and its Latin name, then the Ming
    // face that Debian ships, then the CJK faces that every desktop has.
    return {u"新細明體"_s, u"PMingLiU"_s, u"AR PL UMing TW"_s, u"Noto Serif CJK TC"_s,
            u"Noto Sans CJK TC"_s};
}

QFont MingFont(int pixelSize)
{
    QFont font;
    font.setFamilies(MingFontFamilies());
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(pixelSize);
    // Regular unless the caller says otherwise, also inside a bold parent
    // such as a group box with a bold caption.
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    return font;
}

}  // namespace look
