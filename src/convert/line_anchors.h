#pragma once

#include <QString>
#include <QStringView>

namespace convert {

// Marks in a converted post where every `step`-th of its lines starts (lines
// 0, step, 2 step ...), so that a view can be scrolled to the line the caret
// is on. A mark is an empty element of a name no page uses,
// `<qp-l id=qplN></qp-l>` for line N (counted from 0), put at the start of
// the line where the browser would read it as an
// element among the text: never inside a tag, a comment or the text of a
// title, text area, style or script, never inside a table (whose parser
// would move it, or close a column group early), and not on the first line,
// whose leading line break the browser drops only directly after "<Pre>".
// Such an empty element occupies no space, so the page looks the same.
// Lines without a mark are found through the nearest marked line above.
QString WithLineAnchors(QStringView html, int step = 1);

// The id of line `line`'s mark.
inline constexpr QStringView kLineAnchorPrefix = u"qpl";

}  // namespace convert
