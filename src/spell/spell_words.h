#pragma once

#include <QList>
#include <QStringView>
#include <QtGlobal>

// Which words of a post a spelling dictionary is asked about: the words of
// Latin script in the text the reader will read. Never the tags, their
// values, picture addresses, web and e-mail addresses, what a code block
// holds, nor any Chinese text.
namespace spell {

struct WordSpan {
    qsizetype start = 0;
    qsizetype length = 0;
    friend bool operator==(const WordSpan&, const WordSpan&) = default;
};

// The words of one paragraph (no line breaks) to check, in order.
// `startsInCode` tells whether a code block opened before the paragraph is
// still open at its start.
QList<WordSpan> WordsToCheck(QStringView paragraph, bool startsInCode);

// Where code blocks open and close in a text: the start of each "[code]"
// (opens) and "[/code]" (closes), in order.
struct CodeMarker {
    qsizetype at = 0;
    bool opens = false;
};
QList<CodeMarker> CodeMarkers(QStringView text);
// The longest marker, for finding the markers an edit can have made or
// broken.
qsizetype LongestCodeMarker();

}  // namespace spell
