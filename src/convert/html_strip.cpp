#include "convert/html_strip.h"

#include <QStringView>

namespace convert {

QString StripHtmlTags(const QString& text)
{
    const QStringView input(text);
    QString output;
    output.reserve(input.size());
    qsizetype from = 0;
    while (from < input.size()) {
        const qsizetype open = input.indexOf(u'<', from);
        if (open < 0) break;
        const qsizetype close = input.indexOf(u'>', open + 1);
        if (close < 0) break;
        output.append(input.sliced(from, open - from));
        from = close + 1;
    }
    output.append(input.sliced(from));
    return output;
}

}  // namespace convert
