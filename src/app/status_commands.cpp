// The status bar: the caret's line and column, and the Num Lock, Insert and
// Caps Lock states polled by Timer1.
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>

#include "app/form1.h"
#include "app/memo_edit.h"
#include "platform/keyboard_state.h"

using namespace Qt::Literals::StringLiterals;

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
    m_statusPanels[1]->setText(m_keyboard.numLock() ? u"NUM"_s : QString());
    m_statusPanels[2]->setText(m_insertToggle ? u"取代模式"_s : u"插入模式"_s);
    m_statusPanels[3]->setText(m_keyboard.capsLock() ? u"Caps Lock"_s : QString());
}

bool TForm1::noteInsertKey(QObject* receiver, QEvent* event)
{
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Insert || key->modifiers() != Qt::NoModifier || key->isAutoRepeat())
        return false;
    // A key event travels on to the parents of a widget that leaves it;
    // count it once, at the widget it was sent to first.
    QWidget* first = QApplication::focusWidget();
    if (!first) first = QApplication::activeWindow();
    if (receiver != first) return false;
    m_insertToggle = !m_insertToggle;
    Memo1->setOverwriteMode(m_insertToggle);
    return true;
}
