#pragma once

#include <QFont>
#include <QList>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <optional>

#include "markup/editor_lines.h"
#include "markup/row_counts.h"

class QPlainTextEdit;
class QTextBlock;
class QTextDocument;
class QTextLayout;
class QTimer;

namespace markup {

// The rows of one editing area's blocks, kept as the text changes, so that
// the row of a position is found without walking the document. An edit makes
// only the blocks it touches stale; a new width, font or wrap makes them all
// stale. Stale blocks are counted a slice at a time between events, from the
// moment text arrives or someone asks for a row below them, so the window
// never waits for a whole document to be laid out. A block is measured from
// its own layout when the editing area has one (the rows on screen),
// otherwise with a throw-away layout of the same text, font and width, so the
// editing area keeps no layout for text nobody looks at.
class RowIndex : public QObject {
    Q_OBJECT
public:
    // The editing area's index, made on first use; it lives as long as the
    // editing area.
    static RowIndex& of(const QPlainTextEdit& memo);

    // The row holding `position`, exactly; counts whatever is stale above it.
    RowPosition rowOf(int position);
    // The same when it takes little work; otherwise nothing, and the stale
    // rows are counted in slices, with progressed() after each.
    std::optional<RowPosition> rowOfSoon(int position);

    // The rows of a block as (start, length) within it, as the editing area
    // breaks them at its present width; one row for an empty block or while
    // word wrap is off. Kept until the block or the width changes, so the
    // line list is built again without laying the text out again.
    QList<QPair<int, int>> rows(const QTextBlock& block);

    // The highlighting gave the block other formats, which may break its
    // rows elsewhere: it is counted again.
    void restyled(const QTextBlock& block);

Q_SIGNALS:
    void progressed();

private:
    // What the breaking of rows depends on besides the text.
    struct Settings {
        bool wraps = false;
        qreal width = 0;  // available to the text
        QFont font;
        int wrapMode = 0;
        int flags = 0;
        qreal tabStop = 0;
        bool operator==(const Settings&) const = default;
    };

    explicit RowIndex(QPlainTextEdit& memo);
    Settings current() const;
    // Brings the counts in step with the document and the settings.
    void sync();
    void spliced(int from, int removed, int added);
    // Lays the block out (or reads the editing area's layout) and keeps its
    // rows; returns how many.
    int measure(const QTextBlock& block);
    // The editing area's layout of the block, where it has one; nullptr
    // where it may have none, so that none is made for it.
    const QTextLayout* existingLayout(const QTextBlock& block) const;
    // Counts stale blocks up to `block`, stopping once more than `budget`
    // characters were measured (no limit when negative); true when done.
    bool countUpTo(int block, qint64 budget);
    void slice();
    RowPosition answer(int position);

    const QPlainTextEdit& m_memo;
    QPointer<QTextDocument> m_document;
    Settings m_settings;
    RowCounts m_counts;
    QTimer* m_slices = nullptr;
};

}  // namespace markup
