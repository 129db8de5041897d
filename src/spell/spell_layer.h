#pragma once

#include <QList>
#include <QObject>
#include <QTextCharFormat>
#include <QTextLayout>
#include <memory>
#include <optional>
#include <vector>

#include "spell/dictionary.h"

class QPlainTextEdit;
class QTextBlock;

namespace spell {

// A misspelt word of the document, by its place.
struct Misspelling {
    int position = 0;
    int length = 0;
    QString word;
};

// The spell check of one editing area: which words of a paragraph are
// misspelt, for the colouring layer to underline. It follows the document's
// edits to know, for any paragraph, whether a code block is open where it
// starts, at the cost of the edit, not of the document.
class SpellLayer final : public QObject {
    Q_OBJECT
public:
    SpellLayer(QPlainTextEdit& memo, std::unique_ptr<Dictionary> dictionary);
    ~SpellLayer() override;

    Dictionary& dictionary() { return *m_dictionary; }

    // The misspelt words of the paragraph, as a red wavy underline.
    QList<QTextLayout::FormatRange> formats(const QTextBlock& block);
    // The misspelt word at or just before a position of the document.
    std::optional<Misspelling> misspellingAt(int position);

Q_SIGNALS:
    // Paragraphs whose text did not change may be marked otherwise now: a
    // code block opened or closed elsewhere.
    void marksChanged();

private:
    struct Marker {
        int at;
        bool opens;
    };
    void edited(int from, int removed, int added);
    void collect(int from, int to, std::vector<Marker>& into) const;
    bool startsInCode(const QTextBlock& block) const;
    QList<QTextLayout::FormatRange> misspelt(const QTextBlock& block,
                                             QList<Misspelling>* words = nullptr);

    QPlainTextEdit& m_memo;
    std::unique_ptr<Dictionary> m_dictionary;
    std::vector<Marker> m_markers;  // every code marker of the document, in order
    QTextCharFormat m_underline;
};

}  // namespace spell
