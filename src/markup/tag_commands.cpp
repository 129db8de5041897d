// The tag toolbar: wrap the selection in a tag pair, put a snippet at the
// caret, or append a line at the end.
#include "app/form1.h"
#include "app/memo_edit.h"
#include "markup/insertion.h"

using namespace Qt::Literals::StringLiterals;
using markup::AppendLine;
using markup::InsertAtCaret;
using markup::WrapSelection;

void TForm1::SpeedButton1Click()
{
    WrapSelection(*Memo1, u"[b]"_s, u"[/b]"_s);
}
void TForm1::SpeedButton2Click()
{
    WrapSelection(*Memo1, u"[i]"_s, u"[/i]"_s);
}
void TForm1::SpeedButton3Click()
{
    WrapSelection(*Memo1, u"[u]"_s, u"[/u]"_s);
}
void TForm1::SpeedButton4Click()
{
    WrapSelection(*Memo1, u"[s]"_s, u"[/s]"_s);
}
void TForm1::SpeedButton5Click()
{
    WrapSelection(*Memo1, u"[left]"_s, u"[/left]"_s);
}
void TForm1::SpeedButton6Click()
{
    WrapSelection(*Memo1, u"[center]"_s, u"[/center]"_s);
}
void TForm1::SpeedButton7Click()
{
    WrapSelection(*Memo1, u"[right]"_s, u"[/right]"_s);
}
void TForm1::SpeedButton8Click()
{
    guarded([this] { AppendLine(*Memo1, u"[hr]"_s); });
}
void TForm1::SpeedButton9Click()
{
    InsertAtCaret(*Memo1, u"[url=\"這裡輸入網址\"]請輸入超連結文字[/url]"_s);
}
void TForm1::SpeedButton10Click()
{
    InsertAtCaret(*Memo1, u"[url=\"mailto:請輸入電子信箱\"]請輸入簡短稱呼[/url]"_s);
}
void TForm1::SpeedButton11Click()
{
    InsertAtCaret(*Memo1, u"[img]請輸入圖片網址[/img]"_s);
}
void TForm1::SpeedButton12Click()
{
    WrapSelection(*Memo1, u"[code]"_s, u"[/code]"_s);
}
void TForm1::SpeedButton13Click()
{
    WrapSelection(*Memo1, u"[quote]"_s, u"[/quote]"_s);
}
void TForm1::SpeedButton14Click()
{
    guarded([this] {
        AppendLine(
            *Memo1,
            u"[list][*]這裡填入項目文字[/*][*]這裡填入項目文字[/*][*]這裡填入項目文字[/*][/list]"_s);
    });
}
