// The status bar: the caret's line and column, and the Num Lock, Insert and
// Caps Lock states polled by Timer1.
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>

#include "app/form1/form1.h"
#include "app/memo_edit.h"
#include "markup/row_index.h"
#include "platform/keyboard_state.h"

using namespace Qt::Literals::StringLiterals;

const QString TForm1::kNumLockText = u"NUM"_s;
const QString TForm1::kOverwriteText = u"取代模式"_s;
const QString TForm1::kInsertText = u"插入模式"_s;
const QString TForm1::kCapsLockText = u"Caps Lock"_s;

QString TForm1::caretPanelText(int row, int column)
{
    return u"  行: %1  列: %2"_s.arg(row).arg(column);
}

void TForm1::Memo1KeyUp()
{
    updateCaretPosition();
}
void TForm1::Memo1MouseUp()
{
    updateCaretPosition();
}

void TForm1::Timer1Timer()
{
    m_statusPanels[1]->setText(m_keyboard.numLock() ? kNumLockText : QString());
    m_statusPanels[2]->setText(m_insertToggle ? kOverwriteText : kInsertText);
    m_statusPanels[3]->setText(m_keyboard.capsLock() ? kCapsLockText : QString());
}

void TForm1::updateCaretPosition()
{
    const int position = Memo1->textCursor().selectionStart();
    // Far down a large document just re-wrapped, the rows above the caret
    // are counted between events first; the panel follows once they are.
    const auto row = markup::RowIndex::of(*Memo1).rowOfSoon(position);
    m_caretRowPending = !row;
    if (!row) return;
    m_statusPanels[0]->setText(caretPanelText(row->row + 1, position - row->rowStart + 1));
}
