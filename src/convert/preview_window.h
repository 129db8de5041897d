#pragma once

#include <QStringView>
#include <QtGlobal>

// The part of a long post the live preview shows: the paragraphs around the
// caret's, so that the browser engine lays out a page of a few screens,
// whatever the length of the post.
namespace convert {

struct PreviewWindow {
    int first = 0;  // the first paragraph shown
    int end = 0;    // the paragraph after the last one shown
};

// Whole paragraphs of `text` (paragraphs apart by "\n") from about `reach`
// characters before the start of paragraph `caret` to about `reach` after
// its end. Each end of the part is moved outwards, by at most `reach`
// characters more, to a paragraph start where no pair of tags the converter
// joins across lines (a [b] on one line and its [/b] on a later one) is
// open; where there is none that near, the part ends where it was.
PreviewWindow ChoosePreviewWindow(QStringView text, int caret, qsizetype reach);

}  // namespace convert
