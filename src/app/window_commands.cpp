// Window-level commands: New, the welcome step, the toolbar switches, word
// wrap, the editor font, closing and help.
#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QTextDocument>

#include <new>

#include "app/form1.h"
#include "app/memo_edit.h"
#include "help/form2.h"
#include "markup/editor_lines.h"
#include "tray/vela_tray_icon.h"
#include "markup/row_index.h"

using namespace Qt::Literals::StringLiterals;

void TForm1::guarded(const std::function<void()>& command)
{
    QTextDocument* const document = Memo1->document();
    const int undoSteps = document->availableUndoSteps();
    const bool modified = document->isModified();
    try {
        command();
    } catch (const std::bad_alloc&) {
        // Every change the command made is one undo step or more.
        while (document->availableUndoSteps() > undoSteps) {
            const int before = document->availableUndoSteps();
            document->undo();
            if (document->availableUndoSteps() >= before) break;
        }
        document->setModified(modified);
        m_prompts.errorWithDetail(u"Out of memory"_s, u"指令已停止，文件維持原狀"_s);
    } catch (const std::exception& failure) {
        m_prompts.error(QString::fromUtf8(failure.what()));
    }
}

void TForm1::runCommand(Handler handler)
{
    guarded([this, handler] { (this->*handler)(); });
}

void TForm1::setCaptionFor(const QString& fileName)
{
    const QString shown = fileName == kUntitled ? u"未命名"_s : QFileInfo(fileName).fileName();
    setWindowTitle(u"Quillpost 4.0--"_s + shown);
}

void TForm1::updateCaretPosition()
{
    const int position = Memo1->textCursor().selectionStart();
    // Far down a large document just re-wrapped, the rows above the caret
    // are counted between events first; the panel follows once they are.
    const auto row = markup::RowIndex::of(*Memo1).rowOfSoon(position);
    m_caretRowPending = !row;
    if (!row) return;
    m_statusPanels[0]->setText(
        u"  行: %1  列: %2"_s.arg(row->row + 1).arg(position - row->rowStart + 1));
}

void TForm1::N7Click()
{
    if (Memo1->document()->isModified() &&
        !m_prompts.confirm(u"開啟新檔-確認視窗"_s, u"未存檔！是否繼續？"_s))
        return;
    Memo1->clear();
    Memo1->document()->setModified(false);
    setCaptionFor(kUntitled);
    m_currentFileName = kUntitled;
    m_fileEncoding = text::FileEncoding::Big5;
}

void TForm1::FormShow()
{
    VelaTrayIcon1->ShowBalloon(u"歡迎使用"_s, u"Quillpost 4.0"_s, 3000);
    updateCaretPosition();
}

void TForm1::setPanelVisible(QWidget* panel, const char* actionName)
{
    panel->setVisible(action(actionName)->isChecked());
}

void TForm1::N24Click()
{
    setPanelVisible(Panel2, "N24");
}
void TForm1::N39Click()
{
    setPanelVisible(Panel4, "N39");
}
void TForm1::YBB1Click()
{
    setPanelVisible(Panel1, "YBB1");
}
void TForm1::YBB2Click()
{
    setPanelVisible(Panel3, "YBB2");
}

void TForm1::W1Click()
{
    Memo1->setLineWrapMode(action("W1")->isChecked() ? QPlainTextEdit::WidgetWidth
                                                     : QPlainTextEdit::NoWrap);
    updateCaretPosition();
}

void TForm1::N31Click()
{
    // The dialog remembers what was last confirmed in it, not the area's font.
    if (const auto font = m_prompts.chooseFont(m_fontDialogFont)) {
        m_fontDialogFont = *font;
        Memo1->setFont(*font);
        updateCaretPosition();
    }
}

void TForm1::N15Click()
{
    close();
}

void TForm1::SpeedButton20Click()
{
    // Made on first use: hidden until then, it would only lengthen start-up.
    if (!Form2) Form2 = new TForm2(this);
    Form2->showInFront();
}
