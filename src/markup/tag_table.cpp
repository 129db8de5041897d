#include "markup/tag_table.h"

#include "markup/insertion.h"

using namespace Qt::Literals::StringLiterals;

namespace markup {

const std::array<TagButton, kToolbarForms> kTagButtons = {{
    {u"SpeedButton1", u"粗體", Insertion::Wrap, u"[b]", u"[/b]", {}},
    {u"SpeedButton2", u"斜體", Insertion::Wrap, u"[i]", u"[/i]", {}},
    {u"SpeedButton3", u"底線", Insertion::Wrap, u"[u]", u"[/u]", {}},
    {u"SpeedButton4", u"刪除線", Insertion::Wrap, u"[s]", u"[/s]", {}},
    {u"SpeedButton5", u"靠左", Insertion::Wrap, u"[left]", u"[/left]", {}},
    {u"SpeedButton6", u"置中", Insertion::Wrap, u"[center]", u"[/center]", {}},
    {u"SpeedButton7", u"靠右", Insertion::Wrap, u"[right]", u"[/right]", {}},
    {u"SpeedButton8", u"加入水平線", Insertion::NewLine, u"[hr]", {}, {}},
    {u"SpeedButton9",
     u"加入超連結",
     Insertion::AtCaret,
     u"[url=\"這裡輸入網址\"]請輸入超連結文字[/url]",
     {},
     {kLinkOpen, kLinkMiddle, kLinkClose}},
    // The link's own tags are coloured already; the e-mail link's opener is
    // coloured on to its "mailto:".
    {u"SpeedButton10",
     u"加入電子信箱",
     Insertion::AtCaret,
     u"[url=\"mailto:請輸入電子信箱\"]請輸入簡短稱呼[/url]",
     {},
     {u"[url=\"mailto:"}},  // kLinkOpen and kMailScheme
    {u"SpeedButton11",
     u"加入圖片",
     Insertion::AtCaret,
     u"[img]請輸入圖片網址[/img]",
     {},
     {kPictureOpen, kPictureClose}},
    {u"SpeedButton12", u"保留文章結構", Insertion::Wrap, u"[code]", u"[/code]", {}},
    {u"SpeedButton13", u"引言", Insertion::Wrap, u"[quote]", u"[/quote]", {}},
    {u"SpeedButton14",
     u"加入項目",
     Insertion::NewLine,
     u"[list][*]這裡填入項目文字[/*][*]這裡填入項目文字[/*][*]這裡填入項目文字[/*][/list]",
     {},
     {kListOpen, kItemOpen, kItemClose, kListClose}},
}};

const TagButton& Toolbar(ToolbarForm form)
{
    return kTagButtons[std::size_t(form)];
}

QStringList TagsOf(const TagButton& button)
{
    QStringList tags;
    for (const QStringView inner : button.inner)
        if (!inner.isEmpty()) tags.append(inner.toString());
    if (!tags.isEmpty()) return tags;
    tags.append(button.text.toString());
    if (!button.closing.isEmpty()) tags.append(button.closing.toString());
    return tags;
}

QStringList HighlightedTags()
{
    QStringList tags;
    for (const TagButton& button : kTagButtons) tags += TagsOf(button);
    return tags;
}

void WriteTagButton(QPlainTextEdit& memo, const TagButton& button)
{
    const QString text = button.text.toString();
    switch (button.how) {
        case Insertion::Wrap:
            WrapSelection(memo, text, button.closing.toString());
            break;
        case Insertion::AtCaret:
            InsertAtCaret(memo, text);
            break;
        case Insertion::NewLine:
            AppendLine(memo, text);
            break;
    }
}

const std::array<QStringView, 14> kColourNames = {
    u"black", u"red",   u"yellow", u"pink", u"green", u"orange", u"purple",
    u"blue",  u"beige", u"brown",  u"teal", u"navy",  u"maroon", u"limegreen",
};

TagPair FaceTags(const QString& face)
{
    return {u"[font="_s + face + u"] "_s, u"[/font="_s + face + u"] "_s};
}

TagPair SizeTags(const QString& size)
{
    return {u"[size="_s + size + u"] "_s, u"[/size="_s + size + u"] "_s};
}

TagPair ColourTags(const QString& colour)
{
    return {u" ["_s + colour + u"] "_s, u"[/"_s + colour + u"] "_s};
}

}  // namespace markup
