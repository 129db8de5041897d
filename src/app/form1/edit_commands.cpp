// The edit menu and the context menu: undo, redo, the clipboard, rich text
// pasted as markup, clearing and selecting the whole document.
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QScopeGuard>
#include <QTextCursor>

#include "app/form1/form1.h"
#include "app/memo_edit.h"
#include "convert/html_to_markup.h"
#include "markup/editor_lines.h"
#include "markup/insertion.h"

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

void TForm1::N60Click()
{
    const QMimeData* const copied = QApplication::clipboard()->mimeData();
    QString markup;
    if (copied && copied->hasHtml()) {
        // Reading a long page's HTML takes a moment.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        markup = convert::HtmlToMarkup(copied->html());
    }
    // No HTML, or more than it is worth reading: the text, as Paste gives it.
    if (markup.isEmpty()) {
        SpeedButton24Click();
        return;
    }
    markup::InsertAtCaret(*Memo1, markup::EditorText(markup));
}
