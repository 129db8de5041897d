#pragma once

#include <QStringList>
#include <QStringView>

namespace text {

// Splits text into lines at CR LF, a lone CR or a lone LF. A line break at
// the very end adds no empty line, so "a\r\nb\r\n" and "a\nb" both give
// {"a", "b"}; the empty text gives no line at all.
QStringList SplitLines(QStringView text);

// The inverse of SplitLines for a document: every line followed by `lineBreak`,
// the last one too.
QString JoinLines(const QStringList& lines, QStringView lineBreak);

}  // namespace text
