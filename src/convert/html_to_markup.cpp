#include "convert/html_to_markup.h"

#include <QStringList>

#include "convert/html_sizes.h"
#include "convert/markup_writers.h"

using namespace Qt::Literals::StringLiterals;

namespace convert {

namespace {

// Markup longer than this many times the HTML (and a little) is given up.
constexpr qsizetype kGrowth = 8;
constexpr qsizetype kSlack = 1024;

// How deep the elements of the HTML nest, at most: each start tag one level
// in, each end tag one level out. Elements that never hold others (<br>,
// <img>) or whose end tags may be left out (<p>, <li>, <td>) do not count.
// Qt's import takes time growing with the square of the depth and more.
qsizetype NestingDepth(QStringView html)
{
    static const QStringList kFlat = {
        u"area"_s,  u"base"_s, u"br"_s,   u"col"_s,    u"embed"_s, u"hr"_s,  u"img"_s,
        u"input"_s, u"link"_s, u"meta"_s, u"source"_s, u"track"_s, u"wbr"_s, u"p"_s,
        u"li"_s,    u"td"_s,   u"th"_s,   u"tr"_s,     u"dt"_s,    u"dd"_s,  u"option"_s};
    qsizetype depth = 0, deepest = 0;
    for (qsizetype i = 0; i + 1 < html.size(); ++i) {
        if (html[i] == u'/' && html[i + 1] == u'>') {
            depth = qMax<qsizetype>(0, depth - 1);
            continue;
        }
        if (html[i] != u'<') continue;
        const bool end = html[i + 1] == u'/';
        qsizetype name = i + (end ? 2 : 1), stop = name;
        while (stop < html.size() && stop - name < 8 && html[stop].isLetterOrNumber()) ++stop;
        if (stop == name || !html[name].isLetter()) continue;
        if (kFlat.contains(html.sliced(name, stop - name).toString(), Qt::CaseInsensitive))
            continue;
        depth = end ? qMax<qsizetype>(0, depth - 1) : depth + 1;
        deepest = qMax(deepest, depth);
    }
    return deepest;
}

QString PlainText(const QTextDocument& document)
{
    return document.toPlainText().remove(QChar::ObjectReplacementCharacter);
}

}  // namespace

QString HtmlToMarkup(const QString& html)
{
    if (html.size() > kMaxHtmlToMarkup || NestingDepth(html) > kMaxHtmlNesting) return {};
    DetachedDocument document;
    // Struck text in the elements Qt's import does not know.
    document.setDefaultStyleSheet(u"del, strike { text-decoration: line-through; }"_s);
    bool spacesKept = false;
    document.setHtml(WithSpacesKept(WithAbsoluteFontSizes(html), &spacesKept));
    const auto writer = MakeToolbarWriter();
    if (!WriteAs(document, *writer, {kGrowth * html.size() + kSlack, true, spacesKept})) {
        const QString plain = PlainText(document);
        return spacesKept ? SpacesBack(plain) : plain;
    }
    const QString markup = writer->result();
    // The blank lines an import leaves around the fragment (a table's first
    // block, the clipboard's frame) are not the page's.
    qsizetype from = 0, to = markup.size();
    while (from < to && markup[from] == u'\n') ++from;
    while (to > from && markup[to - 1] == u'\n') --to;
    return markup.sliced(from, to - from);
}

}  // namespace convert
