#pragma once

#include <QList>
#include <QObject>
#include <QPointF>
#include <QTextBlock>
#include <QTimer>
#include <memory>
#include <optional>
#include <vector>

#include "spell/dictionary.h"
#include "spell/spell_words.h"

class QPainter;
class QPlainTextEdit;

namespace spell {

// A misspelt word of the document, by its place.
struct Misspelling {
    int position = 0;
    int length = 0;
    QString word;
};

// The spell check of one editing area: which words of a paragraph are
// misspelt, for the colouring layer to underline. It reads the document
// once, in steps, for where code blocks open and close, then follows its
// edits to know, for any paragraph, whether a code block is open where it
// starts, at the cost of the edit, not of the document. Until the reading
// reaches a paragraph, none of its words is marked.
class SpellLayer final : public QObject {
    Q_OBJECT
public:
    SpellLayer(QPlainTextEdit& memo, std::unique_ptr<Dictionary> dictionary);
    ~SpellLayer() override;

    Dictionary& dictionary() { return *m_dictionary; }

    // The misspelt words of the paragraph to mark: not the word a key just
    // typed or erased at the caret ends, which may be still being typed,
    // until the caret leaves it.
    QList<WordSpan> marks(const QTextBlock& block);
    // Draws a red wave under the marked words in `area` of the editing
    // area's viewport, over the text, from the first paragraph shown, at
    // `offset`: the paragraphs' layouts stay as they are, so that a
    // keystroke lays out and draws its line as it would without the check.
    void paint(QPainter& painter, const QRect& area, QTextBlock first, QPointF offset);
    // The misspelt word at or just before a position of the document.
    std::optional<Misspelling> misspellingAt(int position);

Q_SIGNALS:
    // Paragraphs whose text did not change may be marked otherwise now: a
    // code block opened or closed elsewhere, the document read. The editing
    // area is repainted.
    void marksChanged();

private:
    struct Marker {
        int at;
        bool opens;
    };
    void scanStep();
    void edited(int from, int removed, int added);
    void caretMoved();
    void collect(QTextBlock block, int from, int to, std::vector<Marker>& into) const;
    bool startsInCode(const QTextBlock& block) const;
    QList<WordSpan> misspelt(const QTextBlock& block, QList<Misspelling>* words = nullptr);

    QPlainTextEdit& m_memo;
    std::unique_ptr<Dictionary> m_dictionary;
    // Every code marker of the document before m_scannedTo, in order; the
    // rest is read in steps.
    std::vector<Marker> m_markers;
    int m_scannedTo = 0;
    QTimer m_scan;
    int m_typedAt = -1;  // the caret after the last edit, when a key made it
    int m_heldAt = -1;   // where the word left unmarked ends
    int m_heldRevision = 0;
};

}  // namespace spell
