// The tag toolbar: each button wraps the selection in its tags, puts its
// snippet at the caret or appends its line, as the tag table says.
#include "app/form1/form1.h"
#include "app/memo_edit.h"
#include "markup/tag_table.h"

void TForm1::writeTagButton(markup::ToolbarForm form)
{
    markup::WriteTagButton(*Memo1, markup::Toolbar(form));
}

void TForm1::SpeedButton1Click()
{
    writeTagButton(markup::ToolbarForm::Bold);
}
void TForm1::SpeedButton2Click()
{
    writeTagButton(markup::ToolbarForm::Italic);
}
void TForm1::SpeedButton3Click()
{
    writeTagButton(markup::ToolbarForm::Underline);
}
void TForm1::SpeedButton4Click()
{
    writeTagButton(markup::ToolbarForm::Strike);
}
void TForm1::SpeedButton5Click()
{
    writeTagButton(markup::ToolbarForm::Left);
}
void TForm1::SpeedButton6Click()
{
    writeTagButton(markup::ToolbarForm::Centre);
}
void TForm1::SpeedButton7Click()
{
    writeTagButton(markup::ToolbarForm::Right);
}
void TForm1::SpeedButton8Click()
{
    writeTagButton(markup::ToolbarForm::Rule);
}
void TForm1::SpeedButton9Click()
{
    writeTagButton(markup::ToolbarForm::Link);
}
void TForm1::SpeedButton10Click()
{
    writeTagButton(markup::ToolbarForm::Mail);
}
void TForm1::SpeedButton11Click()
{
    writeTagButton(markup::ToolbarForm::Picture);
}
void TForm1::SpeedButton12Click()
{
    writeTagButton(markup::ToolbarForm::Code);
}
void TForm1::SpeedButton13Click()
{
    writeTagButton(markup::ToolbarForm::Quote);
}
void TForm1::SpeedButton14Click()
{
    writeTagButton(markup::ToolbarForm::List);
}
