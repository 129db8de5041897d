#include <gtest/gtest.h>
#include <QString>
#include <QStringList>

#include "convert/preview_window.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// Paragraphs of four characters and a line break: a reach of 10 takes two
// paragraphs on each side of the caret's.
TEST(PreviewWindow, CutsAtParagraphsOutsideTheTagPairs)
{
    const struct {
        QStringList paragraphs;
        int caret;
        int first, end;
    } cases[] = {
        // Plain text: two paragraphs each side.
        {{u"aaaa"_s, u"bbbb"_s, u"cccc"_s, u"dddd"_s, u"eeee"_s, u"ffff"_s, u"gggg"_s, u"hhhh"_s},
         4,
         2,
         7},
        // Near the ends of the post.
        {{u"aaaa"_s, u"bbbb"_s, u"cccc"_s}, 0, 0, 3},
        // A bold pair across the cut moves the start out to its opener's
        // paragraph; a cut just before an opener stays.
        {{u"aaaa"_s, u"[b]a"_s, u"bbbb"_s, u"b[/b]"_s, u"cccc"_s, u"dddd"_s, u"eeee"_s, u"[code]"_s,
          u"ffff"_s, u"g[/code]"_s, u"hhhh"_s},
         4,
         1,
         7},
        // A code block across the end moves it out past its closer's.
        {{u"aaaa"_s, u"bbbb"_s, u"cccc"_s, u"[code]"_s, u"d"_s, u"[/code]"_s, u"gggg"_s}, 1, 0, 6},
        // A pair closed on its own line does not move anything.
        {{u"aaaa"_s, u"[b]x[/b]"_s, u"bbbb"_s, u"cccc"_s, u"dddd"_s, u"eeee"_s, u"ffff"_s},
         4,
         2,
         7},
        // A quotation around everything: no place outside it near enough,
        // the cut stays where the reach ends.
        {{u"[quote]"_s, u"aaaa"_s, u"bbbb"_s, u"cccc"_s, u"dddd"_s, u"eeee"_s, u"ffff"_s, u"gggg"_s,
          u"hhhh"_s, u"iiii"_s, u"jjjj"_s, u"kkkk"_s, u"llll"_s, u"[/quote]"_s},
         7,
         5,
         10},
        // A closer without an opener, and a flawed face tag, open nothing.
        {{u"[/b]"_s, u"aaaa"_s, u"[font=x]"_s, u"bbbb"_s, u"cccc"_s, u"dddd"_s, u"eeee"_s},
         4,
         2,
         7},
    };
    for (const auto& c : cases) {
        const convert::PreviewWindow window =
            convert::ChoosePreviewWindow(c.paragraphs.join(u'\n'), c.caret, 10);
        EXPECT_EQ(window.first, c.first) << c.paragraphs.join(u'|').toStdString();
        EXPECT_EQ(window.end, c.end) << c.paragraphs.join(u'|').toStdString();
    }
}

}  // namespace
