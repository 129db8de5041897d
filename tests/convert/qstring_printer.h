#pragma once

#include <QString>
#include <ostream>

// Lets GoogleTest show QString values, and so QStringList elements, as text.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
