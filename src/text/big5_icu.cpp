#include "text/big5_icu.h"

#include <QChar>
#include <algorithm>

#include "text/big5_tables.h"

namespace text::big5 {
namespace {

// Decodes `bytes` as one unit. Returns the single UTF-16 unit it gives, or
// sets `consumed` to how many bytes the converter rejected.
bool DecodeOne(UConverter* converter, const char* bytes, int size, char16_t* unit, int* consumed)
{
    UErrorCode status = U_ZERO_ERROR;
    UChar out[4];
    const int32_t length = ucnv_toUChars(converter, out, 4, bytes, size, &status);
    if (U_SUCCESS(status)) {
        *consumed = size;
        if (length != 1) return false;
        *unit = out[0];
        return true;
    }
    char invalid[8];
    int8_t invalidLength = sizeof invalid;
    UErrorCode ignored = U_ZERO_ERROR;
    ucnv_getInvalidChars(converter, invalid, &invalidLength, &ignored);
    *consumed = U_SUCCESS(ignored) && invalidLength > 0 ? invalidLength : 1;
    return false;
}

bool EncodesBackTo(UConverter* converter, char16_t unit, const char* bytes, int size)
{
    if (QChar::isSurrogate(unit) || unit == kNotSingle) return false;
    UErrorCode status = U_ZERO_ERROR;
    char out[8];
    const UChar in[1] = {unit};
    const int32_t length = ucnv_fromUChars(converter, out, sizeof out, in, 1, &status);
    return U_SUCCESS(status) && length == size && std::equal(out, out + size, bytes);
}

// Whether the converter writes the unit as a code that reads back as it.
bool HasOwnCode(UConverter* converter, char16_t unit)
{
    if (QChar::isSurrogate(unit) || unit == kNotSingle) return false;
    UErrorCode status = U_ZERO_ERROR;
    char out[8];
    const UChar in[1] = {unit};
    const int32_t length = ucnv_fromUChars(converter, out, sizeof out, in, 1, &status);
    if (U_FAILURE(status) || length < 1 || length > 2) return false;
    char16_t back = 0;
    int consumed = 0;
    return DecodeOne(converter, out, length, &back, &consumed) && back == unit;
}

}  // namespace

Converter OpenStrictConverter(UErrorCode* status)
{
    Converter converter(ucnv_open("windows-950", status));
    if (U_FAILURE(*status) || !converter) return nullptr;
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                        status);
    ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                          status);
    if (U_FAILURE(*status)) return nullptr;
    return converter;
}

char16_t SingleEntry(UConverter* converter, uchar lead)
{
    const char one[1] = {char(lead)};
    char16_t unit = 0;
    int consumed = 0;
    if (DecodeOne(converter, one, 1, &unit, &consumed) && EncodesBackTo(converter, unit, one, 1))
        return unit;
    return kNotSingle;
}

bool DecodesAlone(UConverter* converter, uchar lead)
{
    const char one[1] = {char(lead)};
    char16_t unit = 0;
    int consumed = 0;
    return DecodeOne(converter, one, 1, &unit, &consumed);
}

char16_t PairEntry(UConverter* converter, uchar lead, uchar trail)
{
    const char two[2] = {char(lead), char(trail)};
    char16_t unit = 0;
    int consumed = 0;
    if (DecodeOne(converter, two, 2, &unit, &consumed)) {
        if (unit == kLeadOnly) return kKeepBothBytes;
        if (EncodesBackTo(converter, unit, two, 2)) return unit;
        // A second code for a character that has a code of its own (A2CC
        // for 十, whose code is A451) reads as that character, as code page
        // 950 reads it; saving writes the character's own code. A code for a
        // character the code page cannot write is kept as bytes instead, so
        // that the text can still be saved.
        return HasOwnCode(converter, unit) ? unit : kKeepBothBytes;
    }
    // A trail byte the converter takes as part of an unassigned code stays
    // with its lead byte, so the rest of the line keeps its alignment.
    return consumed >= 2 ? kKeepBothBytes : kLeadOnly;
}

quint16 EncodeEntry(UConverter* converter, char16_t unit)
{
    if (QChar::isSurrogate(unit) || unit == kNotSingle) return 0;
    UErrorCode status = U_ZERO_ERROR;
    char out[8];
    const UChar in[1] = {unit};
    const int32_t length = ucnv_fromUChars(converter, out, sizeof out, in, 1, &status);
    if (U_FAILURE(status)) return 0;
    const uchar lead = uchar(out[0]);
    if (length == 1) return SingleEntry(converter, lead) == unit ? quint16(0x100 | lead) : 0;
    if (length != 2 || DecodesAlone(converter, lead)) return 0;
    const uchar trail = uchar(out[1]);
    return PairEntry(converter, lead, trail) == unit ? quint16(lead << 8 | trail) : 0;
}

}  // namespace text::big5
