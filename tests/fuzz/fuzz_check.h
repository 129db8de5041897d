#pragma once

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <cstdlib>

// A property of the routine under test; a violation stops the run, so that
// libFuzzer keeps the input that shows it.
inline void Require(bool holds, const char* what)
{
    if (holds) return;
    std::fprintf(stderr, "property violated: %s\n", what);
    std::abort();
}

inline QString FuzzText(const unsigned char* data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
}

inline QByteArray FuzzBytes(const unsigned char* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}
