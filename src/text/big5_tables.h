#pragma once

#include <QtGlobal>

// Code page 950 as lookup tables, compiled into the program. They are read
// out of ICU's "windows-950" converter when the program is built (see
// big5_tables_gen.cpp), so the program has them without opening the
// converter or filling tables at run time. Text that encodes reads back the
// same, and a file read and written unchanged keeps its bytes, but for the
// ten second codes of characters that have a code of their own (A2A4 for ═,
// whose code is F9F9, A2CC for 十, A451, ...): they read as the character
// and are written back as its own code, as code page 950 does.
namespace text::big5 {

// Marks in the decoding tables. Neither is a character code page 950 maps to:
// U+FFFF is a noncharacter, and no double-byte code decodes to U+0000.
inline constexpr char16_t kNotSingle = 0xFFFF;      // in kSingle: the byte starts a pair
inline constexpr char16_t kLeadOnly = 0x0000;       // in kPairs: keep the lead, go on at the trail
inline constexpr char16_t kKeepBothBytes = 0xFFFF;  // in kPairs: keep both bytes as placeholders

// What each byte alone reads as, or kNotSingle.
extern const char16_t kSingle[256];

// What a lead byte and a trail byte read as: kPairs[kPairRow[lead]][trail].
// Only lead bytes that do not read alone have a row of their own; the others
// share row 0, all kLeadOnly.
extern const quint16 kPairRow[256];
extern const char16_t kPairs[][256];

// The code of each UTF-16 unit: kEncode[kEncodeBlock[unit >> 8]][unit & 0xFF]
// is 0 when the unit has no code, 0x100 | byte for a single-byte code and
// lead << 8 | trail for a double-byte code. Block 0 holds no code.
extern const quint16 kEncodeBlock[256];
extern const quint16 kEncode[][256];

inline char16_t Single(uchar byte)
{
    return kSingle[byte];
}
inline char16_t Pair(uchar lead, uchar trail)
{
    return kPairs[kPairRow[lead]][trail];
}
inline quint16 Code(char16_t unit)
{
    return kEncode[kEncodeBlock[unit >> 8]][unit & 0xFF];
}

}  // namespace text::big5
