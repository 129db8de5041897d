#include "text/big5_codec.h"

#include <QtGlobal>

#include <unicode/ucnv.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <memory>
#include <vector>

namespace text {
namespace {

// Marks in the decoding tables. Neither is a character code page 950 maps to:
// U+FFFF is a noncharacter, and no double-byte code decodes to U+0000.
constexpr char16_t kNotSingle = 0xFFFF;      // in `single`: the byte starts a pair
constexpr char16_t kLeadOnly = 0x0000;       // in `pairs`: keep the first byte, go on at the second
constexpr char16_t kKeepBothBytes = 0xFFFF;  // in `pairs`: keep both bytes as placeholders

// Code page 950 as lookup tables, filled once from ICU's converter with the
// entries below.
struct Big5Tables {
    std::array<char16_t, 256> single;
    std::vector<char16_t> pairs = std::vector<char16_t>(256 * 256, kLeadOnly);
    // Per UTF-16 code unit: 0 when it has no code, 0x100 | byte for a
    // single-byte code, lead << 8 | trail for a double-byte code.
    std::vector<quint16> encode = std::vector<quint16>(0x10000, 0);

    Big5Tables() { single.fill(kNotSingle); }
};

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

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

// A converter that stops at the first byte or character it cannot convert,
// so that every failure is seen.
Converter OpenStrictConverter(UErrorCode* status)
{
    Converter converter(ucnv_open("windows-950", status));
    if (U_FAILURE(*status) || !converter) return nullptr;
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, status);
    ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                          status);
    if (U_FAILURE(*status)) return nullptr;
    return converter;
}

// The entries of the tables, one at a time. Only mappings that come back to
// the same bytes are entered, so a file read and written unchanged keeps its
// bytes, and text that encodes reads back the same.

// What the byte alone reads as, or kNotSingle when it starts a pair or is
// kept as a placeholder.
char16_t SingleEntry(UConverter* converter, uchar lead)
{
    const char one[1] = {char(lead)};
    char16_t unit = 0;
    int consumed = 0;
    if (DecodeOne(converter, one, 1, &unit, &consumed) && EncodesBackTo(converter, unit, one, 1))
        return unit;
    return kNotSingle;
}

// Whether the byte reads as a character alone (mapped back or not): such a
// byte never starts a pair.
bool DecodesAlone(UConverter* converter, uchar lead)
{
    const char one[1] = {char(lead)};
    char16_t unit = 0;
    int consumed = 0;
    return DecodeOne(converter, one, 1, &unit, &consumed);
}

// What the pair reads as, kLeadOnly or kKeepBothBytes; only for a lead byte
// that does not read alone.
char16_t PairEntry(UConverter* converter, uchar lead, uchar trail)
{
    const char two[2] = {char(lead), char(trail)};
    char16_t unit = 0;
    int consumed = 0;
    if (DecodeOne(converter, two, 2, &unit, &consumed)) {
        // Duplicate codes decode to a character whose own code is a
        // different pair; keeping their bytes is the only way to write the
        // file back unchanged.
        if (unit != kLeadOnly && EncodesBackTo(converter, unit, two, 2)) return unit;
        return kKeepBothBytes;
    }
    // A trail byte the converter takes as part of an unassigned code stays
    // with its lead byte, so the rest of the line keeps its alignment.
    return consumed >= 2 ? kKeepBothBytes : kLeadOnly;
}

// The code of one UTF-16 unit as in `Big5Tables::encode`.
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

void FillTables(Big5Tables& tables, UConverter* converter)
{
    for (int lead = 0; lead < 256; ++lead) {
        if (DecodesAlone(converter, uchar(lead))) {
            // A single-byte code that does not come back is kept as a placeholder.
            const char16_t unit = SingleEntry(converter, uchar(lead));
            if (unit != kNotSingle) {
                tables.single[lead] = unit;
                tables.encode[unit] = quint16(0x100 | lead);
            }
            continue;
        }
        for (int trail = 0; trail < 256; ++trail) {
            const char16_t entry = PairEntry(converter, uchar(lead), uchar(trail));
            tables.pairs[lead * 256 + trail] = entry;
            if (entry != kLeadOnly && entry != kKeepBothBytes)
                tables.encode[entry] = quint16(lead << 8 | trail);
        }
    }
}

Big5Tables BuildTables()
{
    Big5Tables tables;
    UErrorCode status = U_ZERO_ERROR;
    const Converter converter = OpenStrictConverter(&status);
    if (converter) {
        FillTables(tables, converter.get());
    } else {
        // Without the converter data every byte above ASCII is kept as a
        // placeholder: files still come back unchanged, only unreadable.
        qWarning("ICU converter windows-950 unavailable: %s", u_errorName(status));
        for (int byte = 0; byte < 0x80; ++byte) {
            tables.single[byte] = char16_t(byte);
            tables.encode[byte] = quint16(0x100 | byte);
        }
    }
    return tables;
}

std::atomic<bool> g_tablesBuilt{false};

const Big5Tables& Tables()
{
    static const Big5Tables tables = BuildTables();
    g_tablesBuilt.store(true, std::memory_order_relaxed);
    return tables;
}

// Lookups in the tables.
class TableLookup {
public:
    TableLookup() : m_tables(Tables()) {}
    char16_t single(uchar byte) const { return m_tables.single[byte]; }
    char16_t pair(uchar lead, uchar trail) const { return m_tables.pairs[lead * 256 + trail]; }
    quint16 encode(char16_t unit) const { return m_tables.encode[unit]; }

private:
    const Big5Tables& m_tables;
};

// The same entries asked of the converter one by one. Building the tables
// takes a pass over every code; a short text (the tray's texts, a name) is
// done sooner this way, and start-up does not wait for the tables.
class DirectLookup {
public:
    DirectLookup()
    {
        UErrorCode status = U_ZERO_ERROR;
        m_converter = OpenStrictConverter(&status);
    }
    char16_t single(uchar byte) const
    {
        if (!m_converter) return byte < 0x80 ? char16_t(byte) : kNotSingle;
        return SingleEntry(m_converter.get(), byte);
    }
    char16_t pair(uchar lead, uchar trail) const
    {
        if (!m_converter || DecodesAlone(m_converter.get(), lead)) return kLeadOnly;
        return PairEntry(m_converter.get(), lead, trail);
    }
    quint16 encode(char16_t unit) const
    {
        if (!m_converter) return unit < 0x80 ? quint16(0x100 | unit) : 0;
        return EncodeEntry(m_converter.get(), unit);
    }

private:
    Converter m_converter;
};

// Up to this many code units or bytes, a text is converted without the
// tables until they have been built for a longer one.
constexpr qsizetype kShortText = 64;

bool UseDirectLookup(qsizetype size)
{
    return size <= kShortText && !g_tablesBuilt.load(std::memory_order_relaxed);
}

void AppendPlaceholder(char16_t*& out, uchar byte)
{
    *out++ = char16_t(kBig5PlaceholderBase + byte);
}

bool IsPlaceholderAt(const char16_t* units, qsizetype i)
{
    return units[i] >= kBig5PlaceholderBase + 0x80 && units[i] <= kBig5PlaceholderBase + 0xFF &&
           !(i > 0 && QChar::isHighSurrogate(units[i - 1]));
}

// Output buffer that grows as needed; a character reference may take up to
// ten bytes for two code units, so the size cannot be known in advance.
class ByteSink {
public:
    explicit ByteSink(qsizetype expected)
        : m_bytes(qMax<qsizetype>(expected, 16), Qt::Uninitialized)
    {
    }

    char* reserve(qsizetype count)
    {
        if (m_size + count > m_bytes.size())
            m_bytes.resize(qMax(m_bytes.size() * 2, m_size + count));
        return m_bytes.data() + m_size;
    }
    void commit(qsizetype count) { m_size += count; }
    qsizetype size() const { return m_size; }
    QByteArray take()
    {
        m_bytes.truncate(m_size);
        return std::move(m_bytes);
    }

private:
    QByteArray m_bytes;
    qsizetype m_size = 0;
};

// Writes "&#N;" at `out` (room for 14 bytes); returns its length.
qsizetype AppendReference(char* out, char32_t codePoint)
{
    out[0] = '&';
    out[1] = '#';
    const auto written = std::to_chars(out + 2, out + 13, quint32(codePoint));
    *written.ptr = ';';
    return written.ptr + 1 - out;
}

// ASCII is its own code in code page 950. Short ASCII texts (the tray's
// hint, most names) are common, and need no tables: building those costs a
// pass over every code, which start-up would otherwise pay for.
bool IsAscii(const char16_t* units, qsizetype count)
{
    for (qsizetype i = 0; i < count; ++i)
        if (units[i] >= 0x80) return false;
    return true;
}

bool IsAscii(QByteArrayView bytes)
{
    for (const char byte : bytes)
        if (uchar(byte) >= 0x80) return false;
    return true;
}

template <class Lookup>
Big5Encoded EncodeWith(const Lookup& lookup, QStringView text, Unencodable policy,
                       qsizetype maxBytes)
{
    const char16_t* const units = text.utf16();
    const qsizetype count = text.size();
    const bool limited = maxBytes >= 0;
    ByteSink sink(limited ? qMin(maxBytes, 2 * count) : 2 * count);

    Big5Encoded result;
    for (qsizetype i = 0; i < count;) {
        char* out = sink.reserve(16);
        qsizetype length = 0;
        qsizetype step = 1;
        const quint16 code = lookup.encode(units[i]);
        if (code >= 0x200) {
            out[0] = char(code >> 8);
            out[1] = char(code & 0xFF);
            length = 2;
        } else if (code != 0) {
            out[0] = char(code & 0xFF);
            length = 1;
        } else if (IsPlaceholderAt(units, i)) {
            // Only the file gets the kept byte back; a page shows that a
            // byte was there without letting it join its neighbours.
            if (policy == Unencodable::Fail) {
                out[0] = char(units[i] - kBig5PlaceholderBase);
                length = 1;
            } else {
                length = AppendReference(out, QChar::ReplacementCharacter);
            }
        } else {
            char32_t codePoint = units[i];
            if (QChar::isHighSurrogate(units[i]) && i + 1 < count &&
                QChar::isLowSurrogate(units[i + 1])) {
                codePoint = QChar::surrogateToUcs4(units[i], units[i + 1]);
                step = 2;
            }
            if (policy == Unencodable::Fail) {
                result.failedAt = i;
                return result;
            }
            length = AppendReference(out, codePoint);
        }
        if (limited && sink.size() + length > maxBytes) break;
        sink.commit(length);
        i += step;
    }
    result.bytes = sink.take();
    return result;
}

Big5Encoded Encode(QStringView text, Unencodable policy, qsizetype maxBytes)
{
    if (IsAscii(text.utf16(), text.size())) {
        const QStringView head = maxBytes >= 0 ? text.left(maxBytes) : text;
        return {head.toLatin1(), -1};
    }
    if (UseDirectLookup(text.size())) return EncodeWith(DirectLookup(), text, policy, maxBytes);
    return EncodeWith(TableLookup(), text, policy, maxBytes);
}

template <class Lookup>
bool IsCleanWith(const Lookup& lookup, QByteArrayView bytes)
{
    const uchar* in = reinterpret_cast<const uchar*>(bytes.data());
    const uchar* const end = in + bytes.size();
    while (in < end) {
        if (lookup.single(*in) != kNotSingle) {
            ++in;
            continue;
        }
        if (in + 1 == end) return false;
        const char16_t pair = lookup.pair(in[0], in[1]);
        if (pair == kLeadOnly || pair == kKeepBothBytes) return false;
        in += 2;
    }
    return true;
}

template <class Lookup>
QString DecodeWith(const Lookup& lookup, QByteArrayView bytes)
{
    const uchar* in = reinterpret_cast<const uchar*>(bytes.data());
    const uchar* const end = in + bytes.size();
    // Every byte gives at most one code unit.
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* const begin = reinterpret_cast<char16_t*>(text.data());
    char16_t* out = begin;
    while (in < end) {
        const uchar byte = *in;
        const char16_t single = lookup.single(byte);
        if (single != kNotSingle) {
            *out++ = single;
            ++in;
            continue;
        }
        const char16_t pair = in + 1 < end ? lookup.pair(byte, in[1]) : kLeadOnly;
        if (pair == kLeadOnly) {
            AppendPlaceholder(out, byte);
            ++in;
        } else if (pair == kKeepBothBytes) {
            AppendPlaceholder(out, byte);
            AppendPlaceholder(out, in[1]);
            in += 2;
        } else {
            *out++ = pair;
            in += 2;
        }
    }
    text.truncate(out - begin);
    text.squeeze();
    return text;
}

}  // namespace

Big5Encoded EncodeBig5(QStringView text, Unencodable policy)
{
    return Encode(text, policy, -1);
}

Big5Encoded EncodeBig5Prefix(QStringView text, qsizetype maxBytes, Unencodable policy)
{
    return Encode(text, policy, qMax<qsizetype>(maxBytes, 0));
}

bool IsCleanBig5(QByteArrayView bytes)
{
    if (UseDirectLookup(bytes.size())) return IsCleanWith(DirectLookup(), bytes);
    return IsCleanWith(TableLookup(), bytes);
}

bool IsBig5Placeholder(QStringView text, qsizetype i)
{
    return i >= 0 && i < text.size() && IsPlaceholderAt(text.utf16(), i);
}

QString WithoutPlaceholders(QString text)
{
    const auto* const units = reinterpret_cast<const char16_t*>(text.utf16());
    qsizetype first = 0;
    while (first < text.size() && !IsPlaceholderAt(units, first)) ++first;
    if (first == text.size()) return text;
    char16_t* const data = reinterpret_cast<char16_t*>(text.data());  // detaches
    for (qsizetype i = first; i < text.size(); ++i)
        if (IsPlaceholderAt(data, i)) data[i] = QChar::ReplacementCharacter;
    return text;
}

QString DecodeBig5(QByteArrayView bytes)
{
    if (IsAscii(bytes)) return QString::fromLatin1(bytes);
    if (UseDirectLookup(bytes.size())) return DecodeWith(DirectLookup(), bytes);
    return DecodeWith(TableLookup(), bytes);
}

namespace detail {

QString DecodeBig5Direct(QByteArrayView bytes)
{
    return DecodeWith(DirectLookup(), bytes);
}

QString DecodeBig5Tables(QByteArrayView bytes)
{
    return DecodeWith(TableLookup(), bytes);
}

Big5Encoded EncodeBig5Direct(QStringView text, Unencodable policy, qsizetype maxBytes)
{
    return EncodeWith(DirectLookup(), text, policy, maxBytes);
}

Big5Encoded EncodeBig5Tables(QStringView text, Unencodable policy, qsizetype maxBytes)
{
    return EncodeWith(TableLookup(), text, policy, maxBytes);
}

}  // namespace detail

}  // namespace text
