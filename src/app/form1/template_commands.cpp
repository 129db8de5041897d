// The post skeletons and the posting time, appended line by line at the end
// of the document.
#include "app/form1/form1.h"
#include "app/memo_edit.h"
#include "markup/insertion.h"
#include "markup/post_templates.h"
#include "platform/clock.h"

using namespace Qt::Literals::StringLiterals;

void TForm1::N33Click()
{
    appendLines({u"【主題】"_s, u"【內文】"_s});
}
void TForm1::N34Click()
{
    appendLines({u"【問題】"_s, u"【期望】"_s, u"【內文】"_s});
}
void TForm1::N36Click()
{
    appendLines({u"【範例】"_s, u"【說明】"_s});
}
void TForm1::N35Click()
{
    appendLines({u"【轉貼來源】"_s, u"【內文說明】"_s});
}
void TForm1::N41Click()
{
    appendLines({u"【文章】"_s, u"【作者】"_s, u"【內文】"_s});
}
void TForm1::N56Click()
{
    appendLines({u"【軟體名稱】"_s, u"【軟體版本】"_s, u"【軟體語系】"_s, u"【作業系統】"_s,
                 u"【官方網站】"_s, u"【直接下載】"_s, u"【中 文 化】"_s, u"【軟體說明】"_s});
}

void TForm1::N38Click()
{
    appendLines({markup::PostingTimeLine(m_clock.now(), QLocale::system())});
}
