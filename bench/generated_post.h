#pragma once

// Long posts for the routine benchmarks: the same mixture real posts have
// (CJK text, toolbar tags, font-bar tags, links, quotes), repeated to size.
#include <QString>

namespace bench {

inline constexpr qsizetype kMegabyte = 1024 * 1024;

// About `big5Bytes` bytes once saved as Big5: ASCII counts one byte, every
// other character two.
inline QString GeneratedPost(qsizetype big5Bytes)
{
    const QString paragraph = QString::fromUtf8(
        "[b]公告[/b] [red] 重要[/red] "
        "請大家注意，他也來了。[url=\"http://example.com/\"]連結[/url]\r\n"
        "[font=Arial] Hi[/font=Arial] [size=4] big[/size=4] [quote]引用的文字[/quote]\r\n"
        "[list][*]一[/*][*]二[/*][/list] [img]http://example.com/a.png[/img] 普通的一行字。\r\n"
        "這是一段沒有標籤的文字，只有中文和一些 English words 而已，"
        "就像大部分的文章一樣。\r\n"
        "[center][i]置中的斜體[/i][/center] [hr] [code]int x = a[1];[/code] \"引號\"\r\n");
    qsizetype paragraphBytes = 0;
    for (const QChar c : paragraph) paragraphBytes += c.unicode() < 0x80 ? 1 : 2;
    const qsizetype copies = (big5Bytes + paragraphBytes - 1) / paragraphBytes;
    return paragraph.repeated(copies);
}

}  // namespace bench
