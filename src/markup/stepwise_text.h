#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <optional>
#include <vector>

#include "markup/document_search.h"

class QPlainTextEdit;
class QTextDocument;

namespace markup {

// Gives a long text to an editing area a part at a time, each part in a turn
// of the event loop of its own, so that the window keeps answering while a
// long document goes in. The area ends as setPlainText() leaves it: the same
// text, the caret at the start, nothing to undo, unmodified. Nothing else
// may change the area's document until `done` has run; then the object
// deletes itself.
class StepwiseText : public QObject {
public:
    // How long one turn may take, and how much text a part holds; a turn
    // gives parts until its time is up.
    static constexpr int kTurnMs = 12;
    static constexpr qsizetype kPartChars = 32 * 1024;

    StepwiseText(QPlainTextEdit& memo, QString text, std::function<void()> done,
                 qsizetype partChars = kPartChars);
    bool running() const { return m_turns.isActive(); }

private:
    void turn();
    // Where the part from `from` ends: after a line break where there is one
    // near, never inside a surrogate pair.
    qsizetype partEnd(qsizetype from) const;

    // While the text goes in, the C library maps the large blocks of memory
    // it gives rather than cutting them from its heap (see the source).
    class MappedLargeBlocks {
    public:
        MappedLargeBlocks();
        ~MappedLargeBlocks();
        Q_DISABLE_COPY_MOVE(MappedLargeBlocks)

    private:
        std::vector<void*> m_held;
    };

    QPlainTextEdit& m_memo;
    QString m_text;
    qsizetype m_given = 0;
    qsizetype m_partChars;
    std::function<void()> m_done;
    QTimer m_turns;
    std::optional<MappedLargeBlocks> m_mapped;
};

// Makes the edits of a Replace All (FindReplacements) in a document a few
// at a time, each few in a turn of the event loop of its own, as one step
// of history all the same. Nothing else may change the document until
// `done` has run; then the object deletes itself.
class StepwiseEdits : public QObject {
public:
    StepwiseEdits(QTextDocument& document, QList<ParagraphEdit> edits, std::function<void()> done);

private:
    void turn();

    QTextDocument& m_document;
    QList<ParagraphEdit> m_edits;
    qsizetype m_made = 0;
    std::function<void()> m_done;
    QTimer m_turns;
};

}  // namespace markup
