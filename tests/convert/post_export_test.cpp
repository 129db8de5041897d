// The post copied for other forums: what each form of markup gets, what
// CommonMark makes of the Markdown, and rich text pasted back as markup.
#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QUrl>

#include "convert/html_to_markup.h"
#include "convert/markup_writer.h"
#include "convert/post_export.h"
#include "convert/ybb_to_html.h"
#include "qstring_printer.h"

using namespace Qt::Literals::StringLiterals;

namespace {

struct ExportCase {
    QString post;
    QString bbcode;
    QString discuz;
    QString markdown;
    QString markdownDropped;
    bool pastesBack = true;  // as it is: no span goes on across lines
};

const ExportCase kCases[] = {
    {u"[b]粗體[/b] [i]斜體[/i] [u]底線[/u] [s]刪除[/s]"_s,
     u"[b]粗體[/b] [i]斜體[/i] [u]底線[/u] [s]刪除[/s]"_s,
     u"[b]粗體[/b] [i]斜體[/i] [u]底線[/u] [s]刪除[/s]"_s, u"**粗體** *斜體* 底線 ~~刪除~~"_s,
     u"底線 1 處"_s},
    {u"[url=\"http://x.org/a b\"]站[/url] [url=\"mailto:me@x.org\"]我[/url] "
     u"[img]http://x.org/p.png[/img]"_s,
     u"[url=http://x.org/a%20b]站[/url] [email=me@x.org]我[/email] [img]http://x.org/p.png[/img]"_s,
     u"[url=http://x.org/a%20b]站[/url] [email=me@x.org]我[/email] [img]http://x.org/p.png[/img]"_s,
     u"[站](http://x.org/a%20b) [我](mailto:me@x.org) ![](http://x.org/p.png)"_s,
     {}},
    // The quotation's caption and rules are the converter's, not the post's.
    {u"前\n[quote]引用\n第二行[/quote]\n後"_s,
     u"前\n[quote]引用\n第二行[/quote]\n後"_s,
     u"前\n[quote]引用\n第二行[/quote]\n後"_s,
     u"前\n> 引用\\\n> 第二行\n\n後"_s,
     {}},
    {u"[code]int a[1];\n  *p;[/code]\n後"_s,
     u"[code]int a[1];\n  *p;[/code]\n後"_s,
     u"[code]int a[1];\n  *p;[/code]\n後"_s,
     u"```\nint a[1];\n  *p;\n```\n後"_s,
     {}},
    {u"[list][*]一[/*][*]二[list][*]二之一[/*][/list][/*][/list]\n後"_s,
     u"[list][*]一[*]二[list][*]二之一[/list][/list]\n後"_s,
     u"[list][*]一[*]二[list][*]二之一[/list][/list]\n後"_s,
     u"- 一\n- 二\n  - 二之一\n\n後"_s,
     {}},
    {u"[center]置中[/center]\n[right]靠右[/right]\na\n[hr]\nb"_s,
     u"[center]置中[/center]\n[right]靠右[/right]\na\n[hr]\nb"_s,
     u"[align=center]置中[/align]\n[align=right]靠右[/align]\na\n[hr]\nb"_s,
     u"置中\\\n靠右\\\na\n\n---\n\nb"_s, u"置中 1 處、靠右 1 處"_s},
    // The font bar's spaces belong to its tags: none shows between them.
    {u"[font=Arial] 字[/font=Arial]  [red] 紅[/red] [size=5] 大[/size=5] "_s,
     u"[font=Arial]字[/font][color=red]紅[/color][size=150]大[/size]"_s,
     u"[font=Arial]字[/font][color=red]紅[/color][size=5]大[/size]"_s, u"字紅大"_s,
     u"字型 1 處、大小 1 處、顏色 1 處"_s},
    // Markdown's syntax in the text stays text.
    {u"# 不是標題\n1. 不是清單\n*星* _底_ `碼` <b>x</b>\n\n  縮排"_s,
     u"# 不是標題\n1. 不是清單\n*星* _底_ `碼` [b]x[/b]\n\n  縮排"_s,
     u"# 不是標題\n1. 不是清單\n*星* _底_ `碼` [b]x[/b]\n\n  縮排"_s,
     u"\\# 不是標題\\\n1\\. 不是清單\\\n\\*星\\* \\_底\\_ \\`碼\\` **x**\n\n&#32;&#32;縮排"_s,
     {}},
    {u"[b]「引」[/b]文 [b]跨\n行[/b] [b][i]粗斜[/i][/b]　全形"_s,
     u"[b]「引」[/b]文 [b]跨[/b]\n[b]行[/b] [b][i]粗斜[/i][/b]　全形"_s,
     u"[b]「引」[/b]文 [b]跨[/b]\n[b]行[/b] [b][i]粗斜[/i][/b]　全形"_s,
     u"<strong>「引」</strong>文 **跨**\\\n**行** <strong>*粗斜*</strong>　全形"_s,
     {},
     false},
};

TEST(PostExport, WritesEachForumsForm)
{
    for (const ExportCase& c : kCases) {
        SCOPED_TRACE(c.post.toStdString());
        EXPECT_EQ(convert::ExportPost(c.post, convert::Dialect::BBCode).text, c.bbcode);
        EXPECT_EQ(convert::ExportPost(c.post, convert::Dialect::Discuz).text, c.discuz);
        const convert::ExportedPost markdown =
            convert::ExportPost(c.post, convert::Dialect::Markdown);
        EXPECT_EQ(markdown.text, c.markdown);
        EXPECT_EQ(markdown.dropped, c.markdownDropped);
    }
}

// Rich text pasted back with "貼上為標籤" is the post again.
TEST(PostExport, RichTextPastesBackAsThePost)
{
    for (const ExportCase& c : kCases) {
        if (!c.pastesBack || c.post.contains(u"[font=") || c.post.contains(u"<b>")) continue;
        EXPECT_EQ(convert::HtmlToMarkup(convert::RichTextOf(c.post).html), c.post);
    }
    EXPECT_EQ(convert::RichTextOf(u"[b]粗[/b]\n[quote]引[/quote]"_s).plain, u"粗\n引"_s);
}

// A long post is read in parts where it can be cut; what is written is the
// same as from the whole, in the form's own lines and line breaks.
TEST(PostExport, LongPostsReadInPartsAsAWhole)
{
    QString post;
    for (int i = 0; i < 40; ++i)
        for (const ExportCase& c : kCases)
            if (!c.post.contains(u'<')) post += c.post + (i % 3 ? u"\n\n"_s : u"\n"_s);
    for (const auto dialect :
         {convert::Dialect::BBCode, convert::Dialect::Discuz, convert::Dialect::Markdown}) {
        const convert::ExportedPost whole = convert::ExportPost(post, dialect, post.size());
        const convert::ExportedPost parts = convert::ExportPost(post, dialect, 500);
        EXPECT_EQ(parts.text, whole.text);
        EXPECT_EQ(parts.dropped, whole.dropped);
    }
}

// Each character shown with the formats the Markdown renderer's output and
// the converter's page give it, compared in Qt's HTML import; runs of white
// space count as one, as a page shows them.
QStringList Shown(const QString& html)
{
    convert::DetachedDocument page;
    page.setDefaultStyleSheet(u"del { text-decoration: line-through; }"_s);
    page.setHtml(html);
    QStringList shown;
    bool space = true;
    for (QTextBlock block = page.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            const QString format =
                QStringList{f.fontWeight() >= QFont::DemiBold ? u"b"_s : u""_s,
                            f.fontItalic() ? u"i"_s : u""_s, f.fontStrikeOut() ? u"s"_s : u""_s,
                            QUrl::fromPercentEncoding(f.anchorHref().toUtf8()),
                            f.isImageFormat() ? f.toImageFormat().name() : u""_s}
                    .join(u'|');
            for (const QChar c : it.fragment().text()) {
                const bool blank = c.isSpace() || c == QChar::LineSeparator;
                if (blank && space) continue;
                space = blank;
                shown.append(blank ? u" "_s : QString(c) + format);
            }
        }
        if (!space) shown.append(u" "_s);
        space = true;
    }
    return shown;
}

TEST(PostExport, MarkdownRendersAsThePreviewShows)
{
    const QString cmark = QStandardPaths::findExecutable(u"cmark-gfm"_s);
    if (cmark.isEmpty()) GTEST_SKIP() << "cmark-gfm is not installed";
    for (const ExportCase& c : kCases) {
        SCOPED_TRACE(c.post.toStdString());
        QProcess renderer;
        renderer.start(cmark, {u"-e"_s, u"strikethrough"_s, u"--unsafe"_s});
        renderer.write(convert::ExportPost(c.post, convert::Dialect::Markdown).text.toUtf8());
        renderer.closeWriteChannel();
        ASSERT_TRUE(renderer.waitForFinished(10000));
        const QString rendered = QString::fromUtf8(renderer.readAllStandardOutput());
        // The converter's page, without the quotation's caption and its own
        // list items' markers, which Markdown writes in its own way.
        QString preview = convert::RichTextOf(c.post).html;
        EXPECT_EQ(Shown(rendered), Shown(preview)) << rendered.toStdString();
    }
}

}  // namespace
