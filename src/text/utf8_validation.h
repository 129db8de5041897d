#pragma once

#include <QByteArrayView>

namespace text {

// Whether the bytes are well-formed UTF-8: no overlong form, no encoded
// surrogate, nothing above U+10FFFF, no sequence cut off. One pass, no
// decoding; runs of ASCII are checked eight bytes at a time.
bool IsValidUtf8(QByteArrayView bytes);

}  // namespace text
