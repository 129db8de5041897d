// The symbol bar: bracket pairs wrap the selection, single symbols and the
// custom symbol replace it.
#include <QLineEdit>

#include "app/form1.h"
#include "app/memo_edit.h"
#include "markup/insertion.h"

using namespace Qt::Literals::StringLiterals;
using markup::InsertAtCaret;
using markup::WrapSelection;

void TForm1::SpeedButton25Click()
{
    WrapSelection(*Memo1, u"【"_s, u"】"_s);
}
void TForm1::SpeedButton26Click()
{
    WrapSelection(*Memo1, u"「"_s, u"」"_s);
}
void TForm1::SpeedButton27Click()
{
    WrapSelection(*Memo1, u"『"_s, u"』"_s);
}
void TForm1::SpeedButton28Click()
{
    WrapSelection(*Memo1, u"〈"_s, u"〉"_s);
}
void TForm1::SpeedButton29Click()
{
    WrapSelection(*Memo1, u"《"_s, u"》"_s);
}
void TForm1::SpeedButton30Click()
{
    WrapSelection(*Memo1, u"〔"_s, u"〕"_s);
}
void TForm1::SpeedButton31Click()
{
    WrapSelection(*Memo1, u"｛"_s, u"｝"_s);
}
void TForm1::SpeedButton32Click()
{
    WrapSelection(*Memo1, u"( "_s, u" )"_s);
}
void TForm1::SpeedButton33Click()
{
    WrapSelection(*Memo1, u"["_s, u"]"_s);
}
void TForm1::SpeedButton34Click()
{
    InsertAtCaret(*Memo1, u"←"_s);
}
void TForm1::SpeedButton35Click()
{
    InsertAtCaret(*Memo1, u"→"_s);
}
void TForm1::SpeedButton36Click()
{
    InsertAtCaret(*Memo1, u"●"_s);
}
void TForm1::SpeedButton41Click()
{
    InsertAtCaret(*Memo1, u"○"_s);
}
void TForm1::SpeedButton37Click()
{
    InsertAtCaret(*Memo1, u"★"_s);
}
void TForm1::SpeedButton38Click()
{
    InsertAtCaret(*Memo1, u"☆"_s);
}
void TForm1::SpeedButton39Click()
{
    InsertAtCaret(*Memo1, u"■"_s);
}
void TForm1::SpeedButton40Click()
{
    InsertAtCaret(*Memo1, u"□"_s);
}
void TForm1::SpeedButton42Click()
{
    InsertAtCaret(*Memo1, u"，"_s);
}
void TForm1::SpeedButton43Click()
{
    InsertAtCaret(*Memo1, u"。"_s);
}
void TForm1::SpeedButton44Click()
{
    InsertAtCaret(*Memo1, u"\uFE56"_s);
}  // small question mark
void TForm1::SpeedButton45Click()
{
    InsertAtCaret(*Memo1, u"※"_s);
}
void TForm1::SpeedButton46Click()
{
    InsertAtCaret(*Memo1, u"＠"_s);
}

void TForm1::SpeedButton47Click()
{
    const QString symbol = Edit1->text();
    if (!symbol.isEmpty()) InsertAtCaret(*Memo1, symbol);
}

void TForm1::Edit1DblClick()
{
    Edit1->clear();
}
