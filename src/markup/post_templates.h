#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace markup {

// "發表時間：" and the time in the user's regional format: the short date,
// then, unless the time is exactly midnight, a space and the long time.
QString PostingTimeLine(const QDateTime& time, const QLocale& locale);

}  // namespace markup
