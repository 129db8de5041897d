#pragma once

#include <QString>
#include <QStringView>

namespace convert {

// Removes every tag, a stretch from "<" through the first ">" after it, and
// keeps everything else as it stands: character references, white space and
// line breaks included. A "<" that no ">" follows does not start a tag; it and
// the rest of the text are kept, so nothing the user wrote after it is lost.
QString StripHtmlTags(const QString& text);

// StripHtmlTags over a text that comes in pieces, for texts too long to hold
// twice. Each piece appends to the output what is certain so far; a tag still
// open at the end of a piece is held back until its ">" comes, or the text
// ends without one and it was no tag.
class HtmlTagStripper {
public:
    void add(QStringView piece, QString& output);
    void finish(QString& output);

private:
    QString m_open;  // from the "<" of a tag not closed yet
};

}  // namespace convert
