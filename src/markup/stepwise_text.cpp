#include "markup/stepwise_text.h"

#include <QDeadlineTimer>
#include <QPlainTextEdit>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace markup {

StepwiseText::StepwiseText(QPlainTextEdit& memo, QString text, std::function<void()> done,
                           qsizetype partChars)
    : QObject(&memo),
      m_memo(memo),
      m_text(std::move(text)),
      m_partChars(qMax<qsizetype>(1, partChars)),
      m_done(std::move(done))
{
    // As setPlainText() begins: an empty document, and no history for what
    // goes in.
    m_memo.clear();
    m_memo.document()->setUndoRedoEnabled(false);
    m_turns.setInterval(0);
    connect(&m_turns, &QTimer::timeout, this, &StepwiseText::turn);
    m_turns.start();
}

qsizetype StepwiseText::partEnd(qsizetype from) const
{
    const qsizetype size = m_text.size();
    if (size - from <= m_partChars) return size;
    qsizetype end = from + m_partChars;
    // A line break within the next part's length ends this one.
    const qsizetype lineBreak = m_text.indexOf(u'\n', end);
    if (lineBreak >= 0 && lineBreak - end < m_partChars) return lineBreak + 1;
    if (m_text[end].isLowSurrogate()) ++end;
    return end;
}

void StepwiseText::turn()
{
    QTextDocument& document = *m_memo.document();
    const QDeadlineTimer deadline(kTurnMs);
    QTextCursor end(&document);
    end.movePosition(QTextCursor::End);
    while (m_given < m_text.size() && !deadline.hasExpired()) {
        const qsizetype partEnd = this->partEnd(m_given);
        end.insertText(QStringView(m_text).sliced(m_given, partEnd - m_given).toString());
        m_given = partEnd;
    }
    if (m_given < m_text.size()) return;
    m_turns.stop();
    m_text.clear();
    document.setUndoRedoEnabled(true);
    // As setPlainText() ends.
    m_memo.moveCursor(QTextCursor::Start);
    document.setModified(false);
    m_memo.ensureCursorVisible();
    if (m_done) m_done();
    deleteLater();
}

StepwiseEdits::StepwiseEdits(QTextDocument& document, QList<ParagraphEdit> edits,
                             std::function<void()> done)
    : QObject(&document), m_document(document), m_edits(std::move(edits)), m_done(std::move(done))
{
    m_turns.setInterval(0);
    connect(&m_turns, &QTimer::timeout, this, &StepwiseEdits::turn);
    m_turns.start();
}

void StepwiseEdits::turn()
{
    const QDeadlineTimer deadline(StepwiseText::kTurnMs);
    QTextCursor cursor(&m_document);
    // Each turn's edits join the first turn's: one undo takes them all back.
    if (m_made == 0)
        cursor.beginEditBlock();
    else
        cursor.joinPreviousEditBlock();
    for (; m_made < m_edits.size() && !deadline.hasExpired(); ++m_made) {
        const ParagraphEdit& edit = m_edits[m_made];
        cursor.setPosition(edit.position);
        cursor.setPosition(edit.position + edit.length, QTextCursor::KeepAnchor);
        cursor.insertText(edit.text, QTextCharFormat());
    }
    cursor.endEditBlock();
    if (m_made < m_edits.size()) return;
    m_turns.stop();
    if (m_done) m_done();
    deleteLater();
}

}  // namespace markup
