// Any file reads into a document that writes back as the same bytes, its
// line breaks made CR LF: nothing is lost or changed on the way but Big5's
// one-way codes, written as their characters' own codes.
#include <cstddef>
#include <cstdint>

#include "fuzz_check.h"
#include "text/big5_codec.h"
#include "text/document_file.h"

namespace {

QByteArray WithCrLfBreaks(QByteArray bytes)
{
    bytes.replace("\r\n", "\n");
    bytes.replace('\r', '\n');
    bytes.replace("\n", "\r\n");
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = FuzzBytes(data, size);
    const text::DocumentText document = text::DecodeDocument(bytes);
    Require(!document.text.contains(u'\r'), "line breaks are \\n inside");
    QString error;
    const auto written = text::EncodeDocument(document.text, document.encoding, &error);
    Require(written.has_value(), "a document read from a file can be written back");
    const QByteArray expected = WithCrLfBreaks(bytes);
    if (document.encoding == text::FileEncoding::Big5) {
        Require(written->size() == expected.size() &&
                    text::DecodeBig5(*written) == text::DecodeBig5(expected),
                "written Big5 reads as the text read, one-way codes written as their own");
    } else {
        Require(*written == expected, "written bytes are the bytes read");
    }
    return 0;
}
