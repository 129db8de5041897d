#pragma once

#include <QString>

namespace convert {

// Removes every tag, a stretch from "<" through the first ">" after it, and
// keeps everything else as it stands: character references, white space and
// line breaks included. A "<" that no ">" follows does not start a tag; it and
// the rest of the text are kept, so nothing the user wrote after it is lost.
QString StripHtmlTags(const QString& text);

}  // namespace convert
