#include "convert/ybb_to_html.h"

#include <QStringView>

#include "text/line_split.h"

using namespace Qt::StringLiterals;

namespace convert {
namespace {

struct Step {
    QStringView search;
    QStringView replacement;
};

// The order matters: the generic steps at the end ("] ", " [", "[/") pick up
// the face, size and colour tags only after the named tags have been turned
// into HTML, and they must not see the brackets of those tags any more.
constexpr Step kSteps[] = {
    {u"[b]", u"<b>"},
    {u"[/b]", u"</b>"},
    {u"[i]", u"<i>"},
    {u"[/i]", u"</i>"},
    {u"[u]", u"<u>"},
    {u"[/u]", u"</u>"},
    {u"[s]", u"<s>"},
    {u"[/s]", u"</s>"},
    {u"[left]", u"<div align=\"left\">"},
    {u"[/left]", u"</div id=\"left\">"},
    {u"[center]", u"<center>"},
    {u"[/center]", u"</center>"},
    {u"[right]", u"<div align=right>"},
    {u"[/right]", u"</div id=right>"},
    {u"[hr]", u"<hr noshade size=\"1\">"},
    {u"[url=\"", u"<a href=\""},
    {u"\"]", u"\">"},
    {u"[/url]", u"</a>"},
    {u"[img]", u"<img src=\""},
    {u"[/img]", u"\">"},
    {u"[code]", u"<pre id=\"code\">"},
    {u"[/code]", u"</pre id=\"code\">"},
    {u"[quote]",
     u"<blockquote id=\"quote\"><font id=\"quote\" size=\"2\">引言:</font>"
     u"<hr height=\"1\" noshade id=\"quote\"><br/>"},
    {u"[/quote]", u"<br/><hr height=\"1\" noshade id=\"quote\"></blockquote id=\"quote\">"},
    {u"[list]", u"<ul>"},
    {u"[/list]", u"</ul>"},
    {u"[*]", u"<li>"},
    {u"[/*]", u"</li>"},
    {u"[font=", u"<font face=\""},
    {u"] ", u"\">"},
    {u"[/font=", u"</font id=\""},
    {u"[size=", u"<font size=\""},
    {u"[/size=", u"</font id=\""},
    {u" [", u"<font color=\""},
    {u"[/", u"</font id=\""},
};

// One step: every occurrence, leftmost first, none overlapping, and what has
// just been written is not searched again. The search texts are ASCII, so a
// match can never start inside a CJK character or a surrogate pair.
QString ReplaceAll(const QString& input, QStringView search, QStringView replacement)
{
    qsizetype found = input.indexOf(search);
    if (found < 0) return input;
    QString output;
    output.reserve(input.size() + input.size() / 4);
    qsizetype from = 0;
    while (found >= 0) {
        output.append(QStringView(input).sliced(from, found - from));
        output.append(replacement);
        from = found + search.size();
        found = input.indexOf(search, from);
    }
    output.append(QStringView(input).sliced(from));
    return output;
}

}  // namespace

QString ConvertYbbToHtml(const QString& text)
{
    QString result = text;
    for (const Step& step : kSteps) result = ReplaceAll(result, step.search, step.replacement);
    return result;
}

QString ConvertDocumentToHtmlPage(const QStringList& lines)
{
    // No search text holds a line break, so joining with "\n" instead of
    // CR LF converts exactly the same.
    return u"<HTML><body><Pre>"_s + ConvertYbbToHtml(text::JoinLines(lines, u"\n")) +
           u"</Pre></body></HTML>"_s;
}

}  // namespace convert
