#pragma once

#include <QStringView>

namespace text {

// For bytes that are valid both as UTF-8 and as Big5, decoded as UTF-8:
// whether they read as text written in UTF-8 rather than as Big5 seen
// through UTF-8. A Big5 text read that way turns each Chinese character into
// one letter or symbol of some alphabet, standing apart from any ASCII word
// ("翻譯" becomes "½Ķ"); real UTF-8 text puts accented Latin letters inside
// ASCII words and CJK characters next to each other. Without more evidence
// for UTF-8 than against it, the answer is no: Big5 is the files' own
// encoding and wins a tie.
bool ReadsAsUtf8Text(QStringView decoded);

}  // namespace text
