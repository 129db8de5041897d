// The tag toolbar: each button wraps the selection in its tags, puts its
// snippet at the caret or appends its line, as the tag table says.
#include "app/form1/form1.h"
#include "app/memo_edit.h"
#include "markup/tag_table.h"

void TForm1::writeTagButton(QStringView name)
{
    markup::WriteTagButton(*Memo1, markup::TagButtonNamed(name));
}

void TForm1::SpeedButton1Click()
{
    writeTagButton(u"SpeedButton1");
}
void TForm1::SpeedButton2Click()
{
    writeTagButton(u"SpeedButton2");
}
void TForm1::SpeedButton3Click()
{
    writeTagButton(u"SpeedButton3");
}
void TForm1::SpeedButton4Click()
{
    writeTagButton(u"SpeedButton4");
}
void TForm1::SpeedButton5Click()
{
    writeTagButton(u"SpeedButton5");
}
void TForm1::SpeedButton6Click()
{
    writeTagButton(u"SpeedButton6");
}
void TForm1::SpeedButton7Click()
{
    writeTagButton(u"SpeedButton7");
}
void TForm1::SpeedButton8Click()
{
    writeTagButton(u"SpeedButton8");
}
void TForm1::SpeedButton9Click()
{
    writeTagButton(u"SpeedButton9");
}
void TForm1::SpeedButton10Click()
{
    writeTagButton(u"SpeedButton10");
}
void TForm1::SpeedButton11Click()
{
    writeTagButton(u"SpeedButton11");
}
void TForm1::SpeedButton12Click()
{
    writeTagButton(u"SpeedButton12");
}
void TForm1::SpeedButton13Click()
{
    writeTagButton(u"SpeedButton13");
}
void TForm1::SpeedButton14Click()
{
    writeTagButton(u"SpeedButton14");
}
