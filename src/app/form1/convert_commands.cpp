// The conversion menu, whose two commands rewrite the whole document, and
// the preview page.
#include <QTabWidget>
#include <QTextCursor>
#include <QVBoxLayout>

#include "app/form1/form1.h"
#include "app/memo_edit.h"
#include "convert/html_strip.h"
#include "convert/preview_browser.h"
#include "convert/preview_page.h"
#include "convert/ybb_to_html.h"
#include "markup/editor_lines.h"

using namespace Qt::Literals::StringLiterals;

void TForm1::replaceDocument(const QString& text)
{
    if (text == markup::DocumentText(*Memo1)) return;
    // One edit, so one Undo brings the document back.
    QTextCursor all(Memo1->document());
    all.beginEditBlock();
    all.select(QTextCursor::Document);
    all.insertText(markup::EditorText(text), QTextCharFormat());
    all.endEditBlock();
    Memo1->setTextCursor(all);
}

void TForm1::XTHTML1Click()
{
    replaceDocument(convert::ConvertDocumentToHtmlPage(markup::DisplayedLines(*Memo1)));
}

void TForm1::HTML1Click()
{
    replaceDocument(convert::StripHtmlTags(markup::DocumentText(*Memo1)));
}

void TForm1::TabSheet2Show()
{
    // The browser engine is loaded on the first preview, not with the program.
    if (!EmbeddedWB1) {
        EmbeddedWB1 = convert::MakePreviewBrowser(TabSheet2);
        EmbeddedWB1->widget()->setObjectName(u"EmbeddedWB1"_s);
        TabSheet2->layout()->addWidget(EmbeddedWB1->widget());
    }
    EmbeddedWB1->LoadPageLines(convert::BuildPreviewPageLines(markup::DisplayedLines(*Memo1)));
}
