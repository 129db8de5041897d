#include "markup/post_templates.h"

using namespace Qt::Literals::StringLiterals;

namespace markup {

namespace {

// The locale's long time format made fit for a posting time. A posting time
// names no time zone, and Qt does not know the flexible day period "B" that
// some locales use (it would come out as a letter "B"), so that becomes the
// AM/PM marker. Quoted literal text stays as it is.
QString PostingTimeFormat(const QLocale& locale)
{
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString result;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == u'\'') quoted = !quoted;
        if (quoted || (c != u't' && c != u'B')) {
            result += c;
            continue;
        }
        if (c == u'B') result += u"AP"_s;
        while (i + 1 < format.size() && format[i + 1] == c) ++i;
    }
    result.remove(u"[]"_s).remove(u"()"_s);
    return result.simplified();
}

}  // namespace

QString PostingTimeLine(const QDateTime& time, const QLocale& locale)
{
    QString line = u"發表時間："_s + locale.toString(time.date(), QLocale::ShortFormat);
    const QTime clock = time.time();
    if (clock.hour() != 0 || clock.minute() != 0 || clock.second() != 0)
        line += u' ' + locale.toString(clock, PostingTimeFormat(locale));
    return line;
}

}  // namespace markup
