#include "app/memo_edit.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

MemoEdit::MemoEdit(QWidget* parent) : QPlainTextEdit(parent) {}

bool MemoEdit::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(keyEvent->keyCombination());
        // Leaving the override unaccepted lets the window's shortcut fire.
        if (m_windowShortcuts.contains(pressed)) {
            event->ignore();
            return true;
        }
    }
    return QPlainTextEdit::event(event);
}

void MemoEdit::keyReleaseEvent(QKeyEvent* event)
{
    QPlainTextEdit::keyReleaseEvent(event);
    Q_EMIT keyReleased();
}

void MemoEdit::mouseReleaseEvent(QMouseEvent* event)
{
    QPlainTextEdit::mouseReleaseEvent(event);
    Q_EMIT mouseReleased();
}

void MemoEdit::contextMenuEvent(QContextMenuEvent* event)
{
    if (!m_contextMenu) {
        QPlainTextEdit::contextMenuEvent(event);
        return;
    }
    m_contextMenu->exec(event->globalPos());
}
