// The tag check on posts: which tags it reports, where, and what it says.
#include <gtest/gtest.h>

#include "convert/tag_check.h"
#include "qstring_printer.h"

using namespace Qt::Literals::StringLiterals;

namespace {

struct CheckCase {
    QString marked;            // the post; each reported tag between ⟦ and ⟧
    QStringList descriptions;  // in the order of the text
};

TEST(TagCheck, ReportsWhatTheConverterWillNotPair)
{
    const CheckCase cases[] = {
        {u"[b]x[/b] [i]y[/i] [hr] [url=\"http://a/\"]a[/url] [img]p.png[/img]"_s, {}},
        {u"[quote]\n[b]a[/b]\n[list][*]x[/*][/list]\n[/quote]"_s, {}},  // nested, over lines
        {u"[font=Arial] a[/font=Arial]  [red] b[/red] [size=3] c[/size=3] "_s, {}},
        {u"他也 來，久/ a[1]b x[]y [b]也[/b]"_s, {}},  // text, not tags
        {u"⟦[b]⟧x\n[i]y[/i]"_s, {u"「[b]」沒有結束標籤「[/b]」"_s}},
        {u"x⟦[/code]⟧"_s, {u"「[/code]」沒有對應的開始標籤"_s}},
        {u"[b][i]x⟦[/b]⟧[/i]"_s, {u"「[/b]」出現在「[i]」結束之前，標籤交錯"_s}},
        {u"⟦[font=Arial]⟧Hi[/font=Arial] "_s,
         {u"「[font=Arial]」的「]」後面要有一個空格：「[font=Arial]Hi」會變成「<font face=\"Arial]Hi」"_s}},
        {u"x\n⟦[red]⟧ x[/red] "_s,
         {u"顏色標籤「[red]」前面要有一個空格：「[red] x」會變成「[red\">x」"_s}},
        {u" [red] x ⟦[/red]⟧ "_s,
         {u"顏色結束標籤「[/red]」前面不可有空格：「 [/red] 」會變成「<font color=\"/red\">」"_s}},
        // The space before the colour opener is taken by the face tag's end.
        {u"[font=Arial] ⟦[red]⟧ x[/red] [/font=Arial] "_s,
         {u"顏色標籤「[red]」前面要有一個空格：「[red] x」會變成「[red\">x」"_s}},
        {u"see ⟦[1]⟧ here"_s,
         {u"「[1]」沒有結束標籤「[/1] 」：「 [1] here」會變成「<font color=\"1\">here」"_s}},
        // A tag split by a line break is none; its halves are text or strays.
        {u"x[b\n]y ⟦[b]⟧z⟦[/⟧\nb]"_s,
         {u"「[b]」沒有結束標籤「[/b]」"_s,
          u"「[/」在這一行沒有對應的「]」，仍會被轉換：「[/」會變成「</font id=\"」"_s}},
        {u"⟦[url=\"mailto:me@x\"]⟧me ⟦[size=4]⟧ big\n⟦[font=⟧Arial\n"_s,
         {u"「[url=\"mailto:me@x\"]」沒有結束標籤「[/url]」"_s,
          u"「[size=4]」沒有結束標籤「[/size=4] 」"_s,
          u"「[font=」在這一行沒有結尾的「]」：「[font=Arial」會變成「<font face=\"Arial」"_s}},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.marked.toStdString());
        QString text;
        QList<std::pair<qsizetype, qsizetype>> spans;
        for (const QChar ch : c.marked) {
            if (ch == u'⟦')
                spans.append({text.size(), 0});
            else if (ch == u'⟧')
                spans.last().second = text.size() - spans.last().first;
            else
                text += ch;
        }
        const QList<convert::TagProblem> problems = convert::CheckTags(text);
        QStringList descriptions;
        QList<std::pair<qsizetype, qsizetype>> found;
        for (const convert::TagProblem& problem : problems) {
            descriptions.append(problem.description);
            found.append({problem.start, problem.length});
        }
        EXPECT_EQ(descriptions, c.descriptions);
        EXPECT_EQ(found, spans);
    }
}

struct ColourCase {
    QString paragraph;
    QString colours;  // per character: n name, v value, u unpaired, . none
};

TEST(TagCheck, ColoursTheTagsOfOneParagraph)
{
    const ColourCase cases[] = {
        {u"[b]x[/b] [hr]"_s, u"nnn.nnnn.nnnn"_s},
        {u"[url=\"a.htm\"]a[/url]"_s, u"nnnnnnvvvvvnn.nnnnnn"_s},
        {u"[img]p.png[/img]"_s, u"nnnnnvvvvvnnnnnn"_s},
        {u"[url=\"]x"_s, u"nnnnnnn."_s},
        {u" [red] x[/red] "_s, u".nvvvn..nnvvvn."_s},
        {u"[font=Arial]Hi [size=2] a"_s, u"uuuuuuuuuuuu...nnnnnnvn.."_s},
        {u"他也 [/b] a[1]b"_s, u"...nnnn......"_s},  // a closer's opener may stand above
    };
    for (const ColourCase& c : cases) {
        SCOPED_TRACE(c.paragraph.toStdString());
        QString colours(c.paragraph.size(), u'.');
        for (const convert::ColouredSpan& span : convert::TagColours(c.paragraph)) {
            const QChar mark = span.colour == convert::TagColour::Name    ? u'n'
                               : span.colour == convert::TagColour::Value ? u'v'
                                                                          : u'u';
            for (int i = span.start; i < span.start + span.length; ++i) colours[i] = mark;
        }
        EXPECT_EQ(colours, c.colours);
    }
}

}  // namespace
