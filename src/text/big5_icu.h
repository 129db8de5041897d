#pragma once

#include <QtGlobal>
#include <memory>

#include <unicode/ucnv.h>

// ICU's "windows-950" converter asked one code at a time, with the rules the
// codec's tables follow. The tables are made from these answers when the
// program is built; the tests hold the tables against them.
namespace text::big5 {

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// A converter that stops at the first byte or character it cannot convert,
// so that every failure is seen; null when ICU has no such converter.
Converter OpenStrictConverter(UErrorCode* status);

// What the byte alone reads as, or kNotSingle when it starts a pair or is
// kept as a placeholder.
char16_t SingleEntry(UConverter* converter, uchar lead);

// Whether the byte reads as a character alone (mapped back or not): such a
// byte never starts a pair.
bool DecodesAlone(UConverter* converter, uchar lead);

// What the pair reads as, kLeadOnly or kKeepBothBytes; only for a lead byte
// that does not read alone.
char16_t PairEntry(UConverter* converter, uchar lead, uchar trail);

// The code of one UTF-16 unit as in kEncode.
quint16 EncodeEntry(UConverter* converter, char16_t unit);

}  // namespace text::big5
