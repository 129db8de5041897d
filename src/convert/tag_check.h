#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// Checking a post's markup before it is converted, and colouring its tags.
//
// The tags are those of the converter's table (ybb_to_html.h), found as the
// converter finds them, line by line: a tag split by a line break is no tag.
// - "[b]", "[/b]" … "[list]", "[*]", "[hr]": the fixed texts of the table,
//   paired by name ("[hr]" stands alone);
// - "[url=\"" address "\"]" … "[/url]";
// - "[font=" name "] " … "[/font=" name "] " and the same for "[size=";
// - colour tags, which have no keyword: any text in square brackets with no
//   bracket in it, on one line, is an opener " [" colour "] " or a closer
//   "[/" colour "] " as soon as the converter takes it for one, that is when
//   a space stands before or after it ("[/" always). So " [red] ", a
//   bracketed note " [1] " and the symbol bar's pair " [word] " are colour
//   openers (the converter turns them into font tags and their text
//   disappears), while "a[1]b" and "[]" are text. A space taken by the end of
//   the tag before ("] ") does not count for the next one.
// Openers and closers pair as nested tags; a face, size or colour closer
// closes the innermost opener of its kind, whatever its value.
namespace convert {

struct TagProblem {
    qsizetype start = 0;   // position in the text of the tag concerned
    qsizetype length = 0;  // its length (select it to show the user)
    QString description;   // what is wrong, without the line number
};

// The problems of a post, in the order of the text: an opener without its
// closer, a closer without its opener, a closer that comes before the closer
// of a tag opened after its opener, and the three spacing rules of the face,
// size and colour tags (their "]" needs a space after it; a colour opener
// needs a space before it, at the start of a line too; a colour closer must
// have none), with what the converter makes of the text there. A tag breaking
// a spacing rule is reported for that alone. At most kMaxTagProblems, the
// first in the text, however many there are. One pass over the text; `text`
// has "\n" line breaks.
inline constexpr qsizetype kMaxTagProblems = 1000;
QList<TagProblem> CheckTags(QStringView text);

// Tag names and brackets; attribute values (addresses, face names, colours,
// sizes); tags the converter will not convert as written.
enum class TagColour { Name, Value, Unpaired };
struct ColouredSpan {
    int start;
    int length;
    TagColour colour;
};

// The spans of one paragraph (no line breaks), in order and not
// overlapping, as far as the paragraph alone tells: a tag that breaks a
// spacing rule is Unpaired, whether its partner is found elsewhere or not.
QList<ColouredSpan> TagColours(QStringView paragraph);

}  // namespace convert
