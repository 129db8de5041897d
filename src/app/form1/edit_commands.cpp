// The edit menu and the context menu: undo, redo, the clipboard, clearing
// and selecting the whole document.
#include <QTextCursor>

#include "app/form1/form1.h"
#include "app/memo_edit.h"

void TForm1::SpeedButton16Click()
{
    // Wiped without a question, but as an edit, so Undo brings the text back.
    QTextCursor all(Memo1->document());
    all.select(QTextCursor::Document);
    all.removeSelectedText();
    Memo1->document()->setModified(false);
}

void TForm1::SpeedButton17Click()
{
    Memo1->undo();
}

void TForm1::SpeedButton48Click()
{
    Memo1->redo();
}

void TForm1::SpeedButton22Click()
{
    Memo1->cut();
}

void TForm1::SpeedButton23Click()
{
    Memo1->copy();
}

void TForm1::SpeedButton24Click()
{
    Memo1->paste();
}

void TForm1::N22Click()
{
    Memo1->selectAll();
}
