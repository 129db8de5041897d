#include "text/big5_codec.h"

#include <QtGlobal>

#include <charconv>

#include "text/big5_icu.h"
#include "text/big5_tables.h"

namespace text {
namespace {

using big5::kKeepBothBytes;
using big5::kLeadOnly;
using big5::kNotSingle;

// Lookups in the tables built into the program.
class TableLookup {
public:
    char16_t single(uchar byte) const { return big5::Single(byte); }
    char16_t pair(uchar lead, uchar trail) const { return big5::Pair(lead, trail); }
    quint16 encode(char16_t unit) const { return big5::Code(unit); }
};

// The same entries asked of ICU's converter one by one: what the tables were
// made from, for the tests to hold them against.
class DirectLookup {
public:
    DirectLookup()
    {
        UErrorCode status = U_ZERO_ERROR;
        m_converter = big5::OpenStrictConverter(&status);
    }
    char16_t single(uchar byte) const
    {
        if (!m_converter) return byte < 0x80 ? char16_t(byte) : kNotSingle;
        return big5::SingleEntry(m_converter.get(), byte);
    }
    char16_t pair(uchar lead, uchar trail) const
    {
        if (!m_converter || big5::DecodesAlone(m_converter.get(), lead)) return kLeadOnly;
        return big5::PairEntry(m_converter.get(), lead, trail);
    }
    quint16 encode(char16_t unit) const
    {
        if (!m_converter) return unit < 0x80 ? quint16(0x100 | unit) : 0;
        return big5::EncodeEntry(m_converter.get(), unit);
    }

private:
    big5::Converter m_converter;
};

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

// ASCII is its own code in code page 950. ASCII texts (the tray's hint, most
// names) are common, and are converted without looking at the tables.
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
