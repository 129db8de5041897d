#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace convert {

// Turns YBB markup into HTML by the fixed sequence of literal replacements in
// ybb_to_html.cpp. No parsing: tags are neither paired nor balanced, nothing
// the user typed is escaped, and line breaks stay line breaks. Each step
// replaces every occurrence of its search text, case-sensitively, leftmost
// first and never overlapping, and later steps see what earlier ones wrote.
// Works in one pass over the text.
QString ConvertYbbToHtml(const QString& text);

// The start of ConvertYbbToHtml(text), at least its first `length`
// characters (all of it when it is shorter), without converting the rest.
QString ConvertYbbToHtmlStart(QStringView text, qsizetype length);

// The search texts of the conversion's steps, in the order the steps run:
// the markup the converter knows.
QStringList ConversionSearchTexts();
// What the conversion writes for one of its search texts; empty for none.
QStringView ReplacementOf(QStringView search);

// The same conversion done the straightforward way, one whole pass per step:
// the yardstick the one-pass version is tested and measured against.
QString ConvertYbbToHtmlReference(const QString& text);

// The document as the "( YBB )->( HTML )" command writes it back: every line
// followed by a line break, converted, and wrapped in a minimal page skeleton.
// Lines are joined with "\n"; the result ends with "</Pre></body></HTML>".
QString ConvertDocumentToHtmlPage(const QStringList& lines);

}  // namespace convert
