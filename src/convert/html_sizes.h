#pragma once

#include <QString>

namespace convert {

// The HTML with every font size that Qt's HTML import cannot read (sizes in
// "em", "rem" and "%", and the keywords "x-small", "larger" and the like)
// written in pixels, worked out from the sizes of the elements around it as
// a browser would (16 pixels for the page, <font size>, headings, <big> and
// <small> included). Nothing else of the HTML changes. Read with a real
// HTML parser, so that what looks like a tag inside a comment, a script or
// an attribute is never taken for one.
QString WithAbsoluteFontSizes(const QString& html);

}  // namespace convert
