#include "markup/stepwise_text.h"

#include <QDeadlineTimer>
#include <QPlainTextEdit>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#ifdef __GLIBC__
#include <malloc.h>
#include <unistd.h>
#endif

namespace markup {

namespace {
#ifdef __GLIBC__
constexpr size_t kMappedFrom = 1024 * 1024;
#endif
}  // namespace

// The document keeps all its text in one block of memory, which grows as
// text goes in. A block from the C library's heap grows by being copied
// whole, 20 MB and more for a long thread, holding the window for tens of
// milliseconds at whichever edit outgrows it (a keystroke, a step of Replace
// All); a block the library mapped grows by being remapped, which copies
// nothing. So while a text goes in, blocks of 1 MB and more are mapped: the
// heap's free top is given back, and its free pieces of that size are held
// until the text is in, so that none of them can serve such a block. (A
// block the library mapped lies beyond the end of its heap.)
// Afterwards the limits are those the library reaches by itself in a
// session with large blocks: mapped from 32 MB, the heap's top kept up to
// 64 MB, so that large blocks used for a moment come from the heap and cost
// no page faults.
StepwiseText::MappedLargeBlocks::MappedLargeBlocks()
{
#ifdef __GLIBC__
    mallopt(M_MMAP_THRESHOLD, int(kMappedFrom));
    malloc_trim(0);
    // At most a few GB of free pieces; each is only taken, never touched.
    for (int i = 0; i < 4096; ++i) {
        void* const block = malloc(kMappedFrom);
        if (!block) break;
        if (static_cast<char*>(block) >= static_cast<char*>(sbrk(0))) {
            free(block);  // mapped: the heap has no piece left to give
            break;
        }
        m_held.push_back(block);
    }
#endif
}

StepwiseText::MappedLargeBlocks::~MappedLargeBlocks()
{
#ifdef __GLIBC__
    for (void* const block : m_held) free(block);
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
#endif
}

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
    m_mapped.emplace();
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
    m_mapped.reset();
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
