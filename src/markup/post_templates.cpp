#include "markup/post_templates.h"

using namespace Qt::Literals::StringLiterals;

namespace markup {

QString PostingTimeLine(const QDateTime& time, const QLocale& locale)
{
    QString line = u"發表時間："_s + locale.toString(time.date(), QLocale::ShortFormat);
    const QTime clock = time.time();
    if (clock.hour() != 0 || clock.minute() != 0 || clock.second() != 0)
        line += u' ' + locale.toString(clock, QLocale::LongFormat);
    return line;
}

}  // namespace markup
