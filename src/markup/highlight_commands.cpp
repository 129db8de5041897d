// Tag highlighting: the tags of the tag toolbar shown in red.
#include "app/form1.h"
#include "app/memo_edit.h"
#include "markup/highlight.h"

using namespace Qt::Literals::StringLiterals;

void TForm1::N55Click()
{
    static const QString kTags[] = {
        u"[b]"_s,      u"[/b]"_s,      u"[i]"_s,     u"[/i]"_s,           u"[u]"_s,
        u"[/u]"_s,     u"[s]"_s,       u"[/s]"_s,    u"[left]"_s,         u"[/left]"_s,
        u"[center]"_s, u"[/center]"_s, u"[right]"_s, u"[/right]"_s,       u"[hr]"_s,
        u"[url=\""_s,  u"\"]"_s,       u"[/url]"_s,  u"[url=\"mailto:"_s, u"[img]"_s,
        u"[/img]"_s,   u"[code]"_s,    u"[/code]"_s, u"[quote]"_s,        u"[/quote]"_s,
        u"[list]"_s,   u"[*]"_s,       u"[/*]"_s,    u"[/list]"_s,
    };
    const QColor red(255, 0, 0);
    for (const QString& tag : kTags) markup::HighlightOccurrences(*Memo1, tag, red);
}
