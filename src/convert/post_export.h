#pragma once

#include <QString>

namespace convert {

// The forums' forms of markup a post is copied in.
enum class Dialect { BBCode, Discuz, Markdown };

struct ExportedPost {
    QString text;
    // What the form could not show, for the user: "顏色 3 處、字型 1 處";
    // empty when nothing was left out.
    QString dropped;
};

// The post as its preview shows it, written in another form of markup: the
// post is read through the converter and Qt's HTML import, and written by
// the dialect's writer. The converter's own furniture (a quotation's
// caption and rules) becomes the form's own quotation. A long post is read
// in parts of at least `partChars` characters where it can be cut without
// changing what is written (see post_export.cpp).
ExportedPost ExportPost(const QString& post, Dialect dialect, qsizetype partChars = 64 * 1024);

// The post as rich text for a rich editor: the preview's HTML fragment
// (without the page around it), and its plain text.
struct RichPost {
    QString html;
    QString plain;
};
RichPost RichTextOf(const QString& post);

// "BBCode", "Discuz!", "Markdown".
QString DialectName(Dialect dialect);

}  // namespace convert
