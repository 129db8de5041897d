#include "text/line_split.h"

namespace text {

QStringList SplitLines(QStringView text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n') continue;
        lines.append(text.mid(start, i - start).toString());
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    if (start < n) lines.append(text.mid(start).toString());
    return lines;
}

QString JoinLines(const QStringList& lines, QStringView lineBreak)
{
    QString joined;
    qsizetype size = 0;
    for (const QString& line : lines) size += line.size() + lineBreak.size();
    joined.reserve(size);
    for (const QString& line : lines) {
        joined += line;
        joined += lineBreak;
    }
    return joined;
}

}  // namespace text
