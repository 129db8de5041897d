#include "convert/html_strip.h"

namespace convert {

QString StripHtmlTags(const QString& text)
{
    QString output;
    output.reserve(text.size());
    HtmlTagStripper stripper;
    stripper.add(text, output);
    stripper.finish(output);
    return output;
}

void HtmlTagStripper::add(QStringView piece, QString& output)
{
    qsizetype from = 0;
    if (!m_open.isEmpty()) {
        // The open tag has no ">" yet, so only the new piece can close it.
        const qsizetype close = piece.indexOf(u'>');
        if (close < 0) {
            m_open += piece;
            return;
        }
        m_open.clear();
        from = close + 1;
    }
    while (from < piece.size()) {
        const qsizetype open = piece.indexOf(u'<', from);
        if (open < 0) break;
        const qsizetype close = piece.indexOf(u'>', open + 1);
        output.append(piece.sliced(from, open - from));
        if (close < 0) {
            m_open = piece.sliced(open).toString();
            return;
        }
        from = close + 1;
    }
    output.append(piece.sliced(from));
}

void HtmlTagStripper::finish(QString& output)
{
    output.append(m_open);
    m_open.clear();
}

}  // namespace convert
