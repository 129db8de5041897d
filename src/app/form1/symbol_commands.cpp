// The symbol bar: bracket pairs wrap the selection, single symbols and the
// custom symbol replace it.
#include <QLineEdit>

#include "app/form1/form1.h"
#include "app/memo_edit.h"
#include "markup/insertion.h"
#include "markup/symbol_table.h"

void TForm1::writeSymbolButton(QStringView name)
{
    markup::WriteSymbolButton(*Memo1, markup::SymbolButtonNamed(name));
}

void TForm1::SpeedButton25Click()
{
    writeSymbolButton(u"SpeedButton25");
}
void TForm1::SpeedButton26Click()
{
    writeSymbolButton(u"SpeedButton26");
}
void TForm1::SpeedButton27Click()
{
    writeSymbolButton(u"SpeedButton27");
}
void TForm1::SpeedButton28Click()
{
    writeSymbolButton(u"SpeedButton28");
}
void TForm1::SpeedButton29Click()
{
    writeSymbolButton(u"SpeedButton29");
}
void TForm1::SpeedButton30Click()
{
    writeSymbolButton(u"SpeedButton30");
}
void TForm1::SpeedButton31Click()
{
    writeSymbolButton(u"SpeedButton31");
}
void TForm1::SpeedButton32Click()
{
    writeSymbolButton(u"SpeedButton32");
}
void TForm1::SpeedButton33Click()
{
    writeSymbolButton(u"SpeedButton33");
}
void TForm1::SpeedButton34Click()
{
    writeSymbolButton(u"SpeedButton34");
}
void TForm1::SpeedButton35Click()
{
    writeSymbolButton(u"SpeedButton35");
}
void TForm1::SpeedButton36Click()
{
    writeSymbolButton(u"SpeedButton36");
}
void TForm1::SpeedButton41Click()
{
    writeSymbolButton(u"SpeedButton41");
}
void TForm1::SpeedButton37Click()
{
    writeSymbolButton(u"SpeedButton37");
}
void TForm1::SpeedButton38Click()
{
    writeSymbolButton(u"SpeedButton38");
}
void TForm1::SpeedButton39Click()
{
    writeSymbolButton(u"SpeedButton39");
}
void TForm1::SpeedButton40Click()
{
    writeSymbolButton(u"SpeedButton40");
}
void TForm1::SpeedButton42Click()
{
    writeSymbolButton(u"SpeedButton42");
}
void TForm1::SpeedButton43Click()
{
    writeSymbolButton(u"SpeedButton43");
}
void TForm1::SpeedButton44Click()
{
    writeSymbolButton(u"SpeedButton44");
}
void TForm1::SpeedButton45Click()
{
    writeSymbolButton(u"SpeedButton45");
}
void TForm1::SpeedButton46Click()
{
    writeSymbolButton(u"SpeedButton46");
}

void TForm1::SpeedButton47Click()
{
    const QString symbol = Edit1->text();
    if (!symbol.isEmpty()) markup::InsertAtCaret(*Memo1, symbol);
}

void TForm1::Edit1DblClick()
{
    Edit1->clear();
}
