#include "text/utf8_validation.h"

#include <cstdint>
#include <cstring>

namespace text {

bool IsValidUtf8(QByteArrayView bytes)
{
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* const end = in + bytes.size();
    while (in < end) {
        if (end - in >= 8) {
            std::uint64_t word;
            std::memcpy(&word, in, sizeof word);
            if ((word & 0x8080808080808080u) == 0) {
                in += 8;
                continue;
            }
        }
        const unsigned char lead = *in;
        if (lead < 0x80) {
            ++in;
            continue;
        }
        // The second byte's range depends on the lead byte; that is where
        // overlong forms, surrogates and code points above U+10FFFF are
        // refused. Later bytes are plain continuation bytes.
        int length;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0) low = 0xA0;
            if (lead == 0xED) high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;
        } else {
            return false;
        }
        if (end - in < length) return false;
        if (in[1] < low || in[1] > high) return false;
        for (int i = 2; i < length; ++i)
            if ((in[i] & 0xC0) != 0x80) return false;
        in += length;
    }
    return true;
}

}  // namespace text
