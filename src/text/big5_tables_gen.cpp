// Writes the codec's code page 950 tables (big5_tables.h) as a C++ source
// file, read out of ICU's "windows-950" converter:
//
//     quillpost_big5_tables_gen OUTPUT.cpp
//
// Run by the build; fails, and with it the build, when ICU has no such
// converter.
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "text/big5_icu.h"
#include "text/big5_tables.h"

using namespace text::big5;

namespace {

using Row = std::vector<quint16>;

struct Tables {
    std::vector<quint16> single = std::vector<quint16>(256, kNotSingle);
    std::vector<Row> pairs = std::vector<Row>(256, Row(256, kLeadOnly));
    std::vector<Row> encode = std::vector<Row>(256, Row(256, 0));
};

void Fill(Tables& tables, UConverter* converter)
{
    for (int lead = 0; lead < 256; ++lead) {
        if (DecodesAlone(converter, uchar(lead))) {
            // A single-byte code that does not come back is kept as a placeholder.
            const char16_t unit = SingleEntry(converter, uchar(lead));
            if (unit != kNotSingle) {
                tables.single[lead] = unit;
                tables.encode[unit >> 8][unit & 0xFF] = quint16(0x100 | lead);
            }
            continue;
        }
        for (int trail = 0; trail < 256; ++trail) {
            const char16_t entry = PairEntry(converter, uchar(lead), uchar(trail));
            tables.pairs[lead][trail] = entry;
            // A second code of a character reads as it, but the character
            // is written with its own code.
            const quint16 code = quint16(lead << 8 | trail);
            if (entry != kLeadOnly && entry != kKeepBothBytes &&
                EncodeEntry(converter, entry) == code)
                tables.encode[entry >> 8][entry & 0xFF] = code;
        }
    }
}

// Rows that are all `empty` share row 0; the others get one each, in order.
std::vector<quint16> Index(const std::vector<Row>& rows, quint16 empty, std::vector<Row>* kept)
{
    kept->assign(1, Row(256, empty));
    std::vector<quint16> index(256, 0);
    for (int i = 0; i < 256; ++i) {
        if (rows[i] == kept->front()) continue;
        index[i] = quint16(kept->size());
        kept->push_back(rows[i]);
    }
    return index;
}

void WriteNumbers(std::FILE* out, const std::vector<quint16>& numbers, const char* indent)
{
    for (size_t i = 0; i < numbers.size(); ++i) {
        if (i % 12 == 0) std::fprintf(out, "%s", indent);
        std::fprintf(out, "0x%04X,", numbers[i]);
        std::fprintf(out, i % 12 == 11 || i + 1 == numbers.size() ? "\n" : " ");
    }
}

void WriteRows(std::FILE* out, const char* declaration, const std::vector<Row>& rows)
{
    std::fprintf(out, "%s = {\n", declaration);
    for (const Row& row : rows) {
        std::fprintf(out, "    {\n");
        WriteNumbers(out, row, "        ");
        std::fprintf(out, "    },\n");
    }
    std::fprintf(out, "};\n\n");
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.cpp\n", argv[0]);
        return 2;
    }
    UErrorCode status = U_ZERO_ERROR;
    const Converter converter = OpenStrictConverter(&status);
    if (!converter) {
        std::fprintf(stderr, "%s: ICU converter windows-950 unavailable: %s\n", argv[0],
                     u_errorName(status));
        return 1;
    }
    Tables tables;
    Fill(tables, converter.get());
    std::vector<Row> pairRows;
    std::vector<Row> encodeBlocks;
    const std::vector<quint16> pairRow = Index(tables.pairs, kLeadOnly, &pairRows);
    const std::vector<quint16> encodeBlock = Index(tables.encode, 0, &encodeBlocks);

    const std::string path = argv[1];
    const std::string temporary = path + ".part";
    std::FILE* const out = std::fopen(temporary.c_str(), "w");
    if (!out) {
        std::perror(temporary.c_str());
        return 1;
    }
    std::fprintf(out,
                 "// Code page 950 as ICU's windows-950 converter maps it, written by\n"
                 "// quillpost_big5_tables_gen when the program was built.\n"
                 "#include \"text/big5_tables.h\"\n\n"
                 "namespace text::big5 {\n\n");
    std::fprintf(out, "const char16_t kSingle[256] = {\n");
    WriteNumbers(out, tables.single, "    ");
    std::fprintf(out, "};\n\nconst quint16 kPairRow[256] = {\n");
    WriteNumbers(out, pairRow, "    ");
    std::fprintf(out, "};\n\n");
    WriteRows(out, "const char16_t kPairs[][256]", pairRows);
    std::fprintf(out, "const quint16 kEncodeBlock[256] = {\n");
    WriteNumbers(out, encodeBlock, "    ");
    std::fprintf(out, "};\n\n");
    WriteRows(out, "const quint16 kEncode[][256]", encodeBlocks);
    std::fprintf(out, "}  // namespace text::big5\n");
    if (std::fclose(out) != 0 || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::perror(path.c_str());
        return 1;
    }
    return 0;
}
