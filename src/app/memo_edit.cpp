#include "app/memo_edit.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPaintEvent>
#include <QPainter>
#include <QTextCursor>

#include "markup/editor_lines.h"
#include "markup/highlight.h"
#include "text/big5_codec.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// The exact UTF-16 text, for pastes within the program.
const QString kExactTextFormat = u"application/x-quillpost-text"_s;

}  // namespace

MemoEdit::MemoEdit(QWidget* parent) : QPlainTextEdit(parent)
{
    setDocument(markup::NewEditorDocument(this));
}

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
    // The additions live as long as the menu is open.
    QObject owner;
    QList<QAction*> added;
    if (m_menuAdditions) {
        const int at = event->reason() == QContextMenuEvent::Mouse
                           ? cursorForPosition(event->pos()).position()
                           : textCursor().position();
        added = m_menuAdditions(at, &owner);
    }
    QAction* const first = m_contextMenu->actions().value(0);
    for (QAction* entry : added) m_contextMenu->insertAction(first, entry);
    QAction* const separator = added.isEmpty() ? nullptr : m_contextMenu->insertSeparator(first);
    m_contextMenu->exec(event->globalPos());
    for (QAction* entry : added) m_contextMenu->removeAction(entry);
    delete separator;
}

void MemoEdit::paintEvent(QPaintEvent* event)
{
    QPlainTextEdit::paintEvent(event);
    if (!m_paintAfter) return;
    QPainter painter(viewport());
    m_paintAfter(painter, event->rect(), firstVisibleBlock(), contentOffset());
}

QMimeData* MemoEdit::createMimeDataFromSelection() const
{
    QString selected = textCursor().selectedText();
    auto* mime = new QMimeData;
    mime->setData(kExactTextFormat, QByteArray(reinterpret_cast<const char*>(selected.utf16()),
                                               selected.size() * sizeof(char16_t)));
    mime->setText(text::WithoutPlaceholders(markup::FromEditorText(std::move(selected))));
    return mime;
}

bool MemoEdit::canInsertFromMimeData(const QMimeData* source) const
{
    return source->hasFormat(kExactTextFormat) || QPlainTextEdit::canInsertFromMimeData(source);
}

void MemoEdit::insertFromMimeData(const QMimeData* source)
{
    const QByteArray exact = source->data(kExactTextFormat);
    const QString exactText(reinterpret_cast<const QChar*>(exact.constData()), exact.size() / 2);
    // The exact text only while it still matches the plain one, so that what
    // another program put on the clipboard since is never replaced by an old
    // copy.
    const bool matches =
        exact.size() % 2 == 0 &&
        text::WithoutPlaceholders(markup::FromEditorText(exactText)) == source->text();
    if (!matches && !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    textCursor().insertText(matches ? exactText : markup::EditorText(source->text()));
    ensureCursorVisible();
}
