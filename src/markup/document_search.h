#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

class QTextDocument;

// Searching the document in place, paragraph by paragraph, without copying
// its whole text. An occurrence never spans a line break.
namespace markup {

struct FindOptions {
    bool matchCase = true;
    // Only where neither neighbour is a word character (a letter, a digit or
    // an ideograph), so "cat" is not found inside "concatenate".
    bool wholeWord = false;
    // Towards the start: the occurrence ends at or before the position.
    bool backward = false;
};

struct Occurrence {
    int start = 0;
    int end = 0;
};

// The first occurrence of `what` from `position` in the chosen direction;
// forward it starts at or after the position. Nothing for an empty `what`.
std::optional<Occurrence> FindInDocument(const QTextDocument& document, const QString& what,
                                         int position, const FindOptions& options);

// Replaces every occurrence from the start of the document, left to right and
// without overlaps, as they stand before the first replacement (so inserted
// text is never searched again), in one undo step. Returns the number of
// replacements and, through `end`, the position after the last one inserted.
int ReplaceAllInDocument(QTextDocument& document, const QString& what, const QString& with,
                         const FindOptions& options, int* end = nullptr);

// The same replacements found apart from the document, for a long one: in
// its text as QTextDocument::toRawText() gives it (the paragraphs joined by
// U+2029), on any thread. Each edit rewrites one paragraph from its first
// occurrence to the end of its last; its position is where that stands once
// the edits before it are made.
struct ParagraphEdit {
    int position = 0;
    int length = 0;  // of the text it replaces
    QString text;
};
struct Replacements {
    QList<ParagraphEdit> edits;
    int count = 0;  // occurrences replaced
    int end = 0;    // the position after the last one inserted
};
Replacements FindReplacements(QStringView rawText, const QString& what, const QString& with,
                              const FindOptions& options);

}  // namespace markup
