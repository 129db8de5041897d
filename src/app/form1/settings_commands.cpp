// The settings menu's word wrap and editor font (hiding on minimise is with
// the tray icon's commands).
#include <QAction>

#include "app/form1/form1.h"
#include "app/live_preview.h"
#include "app/memo_edit.h"
#include "platform/prompts.h"

void TForm1::W1Click()
{
    Memo1->setLineWrapMode(action("W1")->isChecked() ? QPlainTextEdit::WidgetWidth
                                                     : QPlainTextEdit::NoWrap);
    updateCaretPosition();
    if (m_livePreview) m_livePreview->linesChanged();
}

void TForm1::N31Click()
{
    // The dialog remembers what was last confirmed in it, not the area's font.
    if (const auto font = m_prompts.chooseFont(m_fontDialogFont)) {
        m_fontDialogFont = *font;
        Memo1->setFont(*font);
        updateCaretPosition();
        if (m_livePreview) m_livePreview->linesChanged();
    }
}
