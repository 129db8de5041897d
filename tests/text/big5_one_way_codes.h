#pragma once

#include <QByteArrayView>
#include <QtGlobal>

// The ten second codes of code page 950: each reads as a character that has
// a code of its own, and the character is written with that code. A file
// holding them is written back with them changed, and only them.
struct OneWayCode {
    quint16 code;
    char16_t character;
    quint16 ownCode;
};

inline constexpr OneWayCode kOneWayCodes[] = {
    {0xA2A4, u'═', 0xF9F9}, {0xA2A5, u'╞', 0xF9E9},  {0xA2A6, u'╪', 0xF9EA},
    {0xA2A7, u'╡', 0xF9EB}, {0xA2CC, u'十', 0xA451}, {0xA2CE, u'卅', 0xA4CA},
    {0xF9FA, u'╭', 0xA27E}, {0xF9FB, u'╮', 0xA2A1},  {0xF9FC, u'╰', 0xA2A2},
    {0xF9FD, u'╯', 0xA2A3},
};

// Whether `written` is `original` with some of the one-way codes in it
// replaced by their characters' own codes, and nothing else changed.
inline bool OnlyOneWayCodesChanged(QByteArrayView original, QByteArrayView written)
{
    if (original.size() != written.size()) return false;
    const auto at = [](QByteArrayView bytes, qsizetype i) {
        return quint16(uchar(bytes[i]) << 8 | uchar(bytes[i + 1]));
    };
    for (qsizetype i = 0; i < original.size(); ++i) {
        if (original[i] == written[i]) continue;
        if (i + 1 == original.size()) return false;
        bool replaced = false;
        for (const OneWayCode& oneWay : kOneWayCodes)
            replaced |= at(original, i) == oneWay.code && at(written, i) == oneWay.ownCode;
        if (!replaced) return false;
        ++i;
    }
    return true;
}
