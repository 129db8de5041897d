#pragma once

#include <QString>

namespace convert {

// HTML as a browser or a word processor puts it on the clipboard, as YBB
// markup in the forms the toolbars and the font bar write: bold, italic,
// underline, strike, links, e-mail links, pictures, block quotes, code
// blocks, lists, centred and right-aligned paragraphs, faces, sizes (HTML
// sizes 1 to 7) and colours (a name of the colour box where one matches,
// else "#rrggbb"); everything else as its text, paragraphs as line breaks.
// Formatting that the document shows anyway (black, its own font, size 3)
// gets no tags. The HTML is read by Qt's HTML import, which fetches nothing
// it refers to. The markup converts back to the same formatting: face, size
// and colour tags keep their spaces, and no colour closer follows a space.
//
// The work is bounded: HTML longer than kMaxHtmlToMarkup characters, or
// whose elements nest deeper than kMaxHtmlNesting, gives the empty text (the
// caller pastes the plain text instead); Qt's import takes about a second
// for the longest. Where the tags would make the markup more than a few
// times as long as the HTML, the text comes without them.
inline constexpr qsizetype kMaxHtmlToMarkup = 1024 * 1024;
inline constexpr qsizetype kMaxHtmlNesting = 500;
QString HtmlToMarkup(const QString& html);

}  // namespace convert
