// Rich text pasted as markup: the markup for each HTML fragment, and that the
// converter turns the markup back into the same formatting.
#include <gtest/gtest.h>

#include <QFile>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>

#include "convert/html_to_markup.h"
#include "convert/ybb_to_html.h"
#include "qstring_printer.h"

using namespace Qt::Literals::StringLiterals;

namespace {

struct PasteCase {
    QString html;
    QString markup;
};

const PasteCase kCases[] = {
    {u"<b>bold</b> <i>it</i> <u>un</u> <s>st</s>"_s,
     u"[b]bold[/b] [i]it[/i] [u]un[/u] [s]st[/s]"_s},
    {u"<a href=\"http://x.org/\">site</a> <a href=\"mailto:me@x.org\">me</a>"_s,
     u"[url=\"http://x.org/\"]site[/url] [url=\"mailto:me@x.org\"]me[/url]"_s},
    {u"<p>one</p><p align=center>two</p><p style=\"text-align:right\">three</p>"_s,
     u"one\n[center]two[/center]\n[right]three[/right]"_s},
    {u"<p>see <img src=\"http://x.org/a.png\"></p>"_s, u"see [img]http://x.org/a.png[/img]"_s},
    {u"<blockquote>q1<br>q2</blockquote><p>after</p>"_s, u"[quote]q1\nq2[/quote]\nafter"_s},
    {u"<pre>int a;\n  b;</pre>"_s, u"[code]int a;\n  b;[/code]"_s},
    {u"<ul><li>one</li><li><b>two</b></li></ul><p>end</p>"_s,
     u"[list][*]one[/*][*][b]two[/b][/*][/list]\nend"_s},
    {u"<font face=\"Georgia\" size=5 color=red>a<b>b</b></font> "
     u"<span style=\"color:#123456\">hex</span>"_s,
     u"[font=Georgia] [size=5]  [red] a[b]b[/b][/red] [/size=5] [/font=Georgia]   [#123456] "
     u"hex[/#123456] "_s},
    // A colour closer never follows a space; a colour opener brings its own.
    {u"<p><font color=blue>a b </font>c</p>"_s, u" [blue] a b[/blue]  c"_s},
    {u"<span style=\"color:black; font-size:16px\">plain</span> "
     u"<span style=\"font-size:24px\">x</span><span style=\"font-size:10pt\">y</span>"_s,
     u"plain [size=5] x[/size=5] [size=2] y[/size=2] "_s},
    {u"<b>中文</b>也 <strike>k</strike><table><tr><td>a</td><td>b</td></tr></table>"_s,
     u"[b]中文[/b]也 [s]k[/s]\na\tb"_s},
};

TEST(HtmlToMarkup, WritesTheToolbarsForms)
{
    for (const PasteCase& c : kCases) {
        SCOPED_TRACE(c.html.toStdString());
        EXPECT_EQ(convert::HtmlToMarkup(c.html), c.markup);
    }
}

// What browsers really put on the clipboard: Chromium's copy of a whole page
// (tests/convert/data/clipboard_page.html, made again by
// scripts/capture-clipboard-html.sh) writes the page's face, size and colour
// on every block, keeps <del>, nested lists, tables, non-ASCII spaces and
// links of any kind.
TEST(HtmlToMarkup, ReadsWhatBrowsersCopy)
{
    QFile file(QStringLiteral(QUILLPOST_TEST_DATA "/chromium_clipboard.html"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(
        convert::HtmlToMarkup(QString::fromUtf8(file.readAll())),
        u"第一段\u3000全形空白\u00A0不斷行空白 [b]粗體[/b] [i]斜體[/i] [u]底線[/u] [s]刪除[/s] "
        u"[s]刪除二[/s]\n"
        u"[size=5] 大字24px[/size=5]  [size=5] 大字1.5em[/size=5]  "
        u"[size=5] 大字150%[/size=5]  [size=2] 小字10pt[/size=2]  [size=1] 更小[/size=1] \n"
        u" [red] 紅字[/red]  [font=Courier New] Courier[/font=Courier New]  code()\n"
        u"[url=\"https://example.com/a\"]安全連結[/url] 腳本連結 相對連結 "
        u"[url=\"mailto:me@example.com\"]信箱[/url] \n"
        u"[list][*]一[list][*]一之一[/*][*]一之二[/*][/list][/*][*]二[/*][/list]"
        u"[list][*]甲[/*][*]乙[/*][/list]\n"
        u"[b]名稱[/b]\t[b]數量[/b]\n蘋果\t3\n香蕉\t5\n"
        u"[quote]引用的文字[/quote]\n[code]int x = 1;\n  y();[/code]\n[center]置中[/center]"_s);
    // Pictures from inline data or the copier's files are left out.
    EXPECT_EQ(convert::HtmlToMarkup(
                  u"<img src=\"data:image/png;base64,AA\">x<img src=\"FILE:///etc/a.png\">"_s),
              u"x"_s);
}

TEST(HtmlToMarkup, LeavesHtmlTooLongOrTooDeepToThePlainText)
{
    const QString deep = u"<div>"_s.repeated(convert::kMaxHtmlNesting + 1) + u"x"_s;
    EXPECT_EQ(convert::HtmlToMarkup(deep), QString());
    EXPECT_EQ(convert::HtmlToMarkup(u"<div>"_s.repeated(convert::kMaxHtmlNesting) + u"x"_s),
              u"x"_s);
    // Line breaks, paragraphs and list items nest nothing.
    EXPECT_FALSE(convert::HtmlToMarkup(u"<p>a<br>"_s.repeated(2000)).isEmpty());
    const QString longest = u"<b>x</b>"_s.repeated(convert::kMaxHtmlToMarkup / 8 + 1);
    EXPECT_EQ(convert::HtmlToMarkup(longest), QString());
}

// Each visible character with the formatting it shows.
QStringList Formatting(const QString& html)
{
    QTextDocument document;
    // As browsers show them.
    document.setDefaultStyleSheet(u"del, strike { text-decoration: line-through; }"_s);
    document.setHtml(html);
    QStringList shown;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const Qt::Alignment alignment = block.blockFormat().alignment();
        const QString aligned = alignment & Qt::AlignHCenter ? u"centre"_s
                                : alignment & Qt::AlignRight ? u"right"_s
                                                             : QString();
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            const QStringList families = f.fontFamilies().toStringList();
            const QString colour = f.hasProperty(QTextFormat::ForegroundBrush)
                                       ? f.foreground().color().name()
                                       : u"#000000"_s;
            // Sizes in pixels or points become the nearest HTML size, which
            // the table above checks; here they are not compared.
            const QString size =
                f.hasProperty(QTextFormat::FontSizeAdjustment)
                    ? QString::number(f.intProperty(QTextFormat::FontSizeAdjustment))
                : f.hasProperty(QTextFormat::FontPixelSize) ||
                        f.hasProperty(QTextFormat::FontPointSize)
                    ? u"?"_s
                    : u"0"_s;
            const QString format =
                QStringList{f.fontWeight() >= QFont::DemiBold ? u"b"_s : QString(),
                            f.fontItalic() ? u"i"_s : QString(),
                            f.fontUnderline() ? u"u"_s : QString(),
                            f.fontStrikeOut() ? u"s"_s : QString(),
                            f.anchorHref(),
                            families.isEmpty() ? QString() : families.first(),
                            colour,
                            size,
                            f.isImageFormat() ? f.toImageFormat().name() : QString(),
                            aligned}
                    .join(u'|');
            for (const QChar ch : it.fragment().text())
                if (!ch.isSpace()) shown.append(ch + u" "_s + format);
        }
    }
    return shown;
}

TEST(HtmlToMarkup, ConvertsBackToTheSameFormatting)
{
    for (const PasteCase& c : kCases) {
        SCOPED_TRACE(c.html.toStdString());
        const QStringList original = Formatting(c.html);
        const QStringList back = Formatting(convert::ConvertYbbToHtml(c.markup));
        // The converter adds text of its own (a quotation's heading): each
        // character of the original is looked for in order.
        qsizetype at = 0;
        for (const QString& character : original) {
            while (at < back.size() && back[at][0] != character[0]) ++at;
            ASSERT_LT(at, back.size()) << character.toStdString();
            QStringList got = back[at++].split(u'|');
            const QStringList want = character.split(u'|');
            if (want[7] == u"?") got[7] = want[7];
            EXPECT_EQ(got, want);
        }
    }
}

}  // namespace
