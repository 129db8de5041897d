#include "markup/highlight.h"

#include <QEvent>
#include <QHash>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <algorithm>
#include <vector>

#include "markup/row_index.h"

namespace markup {

namespace {

// A block's user state tells whether its occurrences are coloured as they
// are: never formatted (-1, the state of every new block), formatted but
// stale (0), or formatted and current (1).
constexpr int kNeverFormatted = -1;
constexpr int kStale = 0;
constexpr int kCurrent = 1;
// Characters coloured at once after an edit; the rest is coloured when it is
// shown. A keystroke's paragraph is always coloured at once.
constexpr qsizetype kEditBudget = 20000;
// Paragraphs coloured before a paint at most: more than a screen holds.
constexpr int kShownAtMost = 2000;

// A paragraph's ranges as ranges of its layout, which holds the text an
// input method is composing, `length` long, at `at`: what follows moves past
// it, and a range across it is cut in two.
QList<QTextLayout::FormatRange> AroundPreedit(const QList<QTextLayout::FormatRange>& ranges, int at,
                                              int length)
{
    QList<QTextLayout::FormatRange> moved;
    for (QTextLayout::FormatRange range : ranges) {
        if (range.start >= at) {
            range.start += length;
        } else if (range.start + range.length > at) {
            moved.append({range.start, at - range.start, range.format});
            range = {at + length, range.start + range.length - at, range.format};
        }
        moved.append(range);
    }
    return moved;
}

bool Same(const QList<QTextEdit::ExtraSelection>& a, const QList<QTextEdit::ExtraSelection>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x.cursor.anchor() == y.cursor.anchor() &&
               x.cursor.position() == y.cursor.position() && x.format == y.format;
    });
}

// The two layers of colours of one editing area.
//
// The occurrences are laid into the layouts of the paragraphs, as a syntax
// highlighter does, but only where needed: a syntax highlighter colours
// every paragraph of a document it is given, and every paragraph an edit
// touches, at once. This one colours what an edit touches up to a budget,
// and the rest just before it is painted.
//
// The paragraph colouring is drawn over the layouts as the editing area's
// extra selections, made for the paragraphs on screen just before they are
// painted. A new format in a paragraph's layout makes the editing area lay
// the paragraph out again and repaint all of the screen, which would make
// every keystroke cost a full repaint; a selection costs the repaint of its
// own rectangle. The one exception is the paragraph where an input method
// is composing: its layout holds the text being composed, which selections,
// made of positions in the document, would not step over, so there the
// colouring goes into the layout too until the text is committed.
class DisplayHighlighter final : public QObject {
public:
    static DisplayHighlighter* of(QPlainTextEdit& memo, bool make)
    {
        for (QObject* child : memo.document()->children())
            if (auto* highlighter = dynamic_cast<DisplayHighlighter*>(child)) return highlighter;
        return make ? new DisplayHighlighter(memo) : nullptr;
    }

    // False when the text is already coloured so.
    bool add(const QString& text, const QColor& colour)
    {
        for (auto& [known, format] : m_texts) {
            if (known != text) continue;
            if (format.foreground().color() == colour) return false;
            format.setForeground(colour);
            m_shown.clear();
            return true;
        }
        QTextCharFormat format;
        format.setForeground(colour);
        m_texts.append({text, format});
        m_shown.clear();  // the colouring keeps clear of the new occurrences
        return true;
    }

    void setColouring(ParagraphColouring colouring)
    {
        m_colouring = std::move(colouring);
        recolour();
    }

    void recolour()
    {
        m_shown.clear();
        if (m_memo) prepareScreen();
    }

    // Colours the block's occurrences anew. Inside an edit that changed it,
    // the layout lays it out again anyway; elsewhere it is told so.
    void colour(QTextBlock block, bool edited = false)
    {
        block.setUserState(kCurrent);
        QTextLayout* layout = block.layout();
        const QString text = block.text();
        QList<QTextLayout::FormatRange> ranges = occurrences(text);
        if (const int length = int(layout->preeditAreaText().size())) {
            const int start = layout->preeditAreaPosition();
            if (m_colouring) ranges += uncovered(block);
            ranges = AroundPreedit(ranges, start, length);
            // Text being composed keeps the formats the input method gave it.
            for (const QTextLayout::FormatRange& range : layout->formats())
                if (range.start >= start && range.start + range.length <= start + length)
                    ranges.append(range);
        }
        if (ranges == layout->formats()) return;
        layout->setFormats(ranges);
        auto* document = static_cast<QTextDocument*>(parent());
        if (!edited) document->markContentsDirty(block.position(), block.length());
        if (m_memo)
            if (auto* rows = m_memo->findChild<RowIndex*>(QString(), Qt::FindDirectChildrenOnly))
                rows->restyled(block);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && m_memo && watched == m_memo->viewport() &&
            !m_painting) {
            m_painting = true;
            prepareScreen();
            m_painting = false;
        }
        return false;
    }

private:
    explicit DisplayHighlighter(QPlainTextEdit& memo) : QObject(memo.document()), m_memo(&memo)
    {
        connect(memo.document(), &QTextDocument::contentsChange, this, &DisplayHighlighter::edited);
        memo.viewport()->installEventFilter(this);
    }

    // For each character of the paragraph, which text it shows in (1 for the
    // first), or 0; a text given later wins.
    std::vector<int> occurrenceMap(const QString& paragraph) const
    {
        std::vector<int> shown;
        for (qsizetype t = 0; t < m_texts.size(); ++t) {
            const QString& text = m_texts[t].first;
            for (qsizetype at = paragraph.indexOf(text); at >= 0;
                 at = paragraph.indexOf(text, at + 1)) {
                if (shown.empty()) shown.assign(size_t(paragraph.size()), 0);
                std::fill_n(shown.begin() + at, text.size(), int(t) + 1);
            }
        }
        return shown;  // empty where the paragraph holds none
    }

    QList<QTextLayout::FormatRange> occurrences(const QString& paragraph) const
    {
        const std::vector<int> shown = occurrenceMap(paragraph);
        QList<QTextLayout::FormatRange> ranges;
        for (int c = 0; c < int(shown.size());) {
            int end = c + 1;
            while (end < int(shown.size()) && shown[size_t(end)] == shown[size_t(c)]) ++end;
            if (shown[size_t(c)] > 0)
                ranges.append({c, end - c, m_texts[shown[size_t(c)] - 1].second});
            c = end;
        }
        return ranges;
    }

    void edited(int from, int removed, int added)
    {
        if (m_texts.isEmpty()) return;
        auto* document = static_cast<QTextDocument*>(parent());
        QTextBlock block = document->findBlock(from);
        const QTextBlock last = document->findBlock(from + added + (removed > 0 ? 1 : 0));
        const int end = last.isValid() ? last.blockNumber() : document->blockCount() - 1;
        qsizetype spent = 0;
        for (; block.isValid() && block.blockNumber() <= end; block = block.next()) {
            if (spent == 0 || spent + block.length() <= kEditBudget) {
                spent += block.length();
                colour(block, true);
            } else if (block.userState() != kNeverFormatted) {
                block.setUserState(kStale);
            }
        }
    }

    // Just before the editing area paints: the occurrences of the paragraphs
    // on screen that were left for later, and the paragraph colouring of the
    // screen as selections, kept apart from where occurrences show.
    void prepareScreen()
    {
        const bool layer = bool(m_colouring);
        if (m_texts.isEmpty() && !layer && !m_layerShown) return;
        const QRect screen = m_memo->viewport()->rect();
        QTextBlock block = m_memo->cursorForPosition(screen.topLeft()).block();
        const QTextBlock last = m_memo->cursorForPosition(screen.bottomRight()).block();
        QHash<int, Shown> shown;
        QList<int> order;
        bool changed = layer != m_layerShown;
        for (int count = 0; block.isValid() && count < kShownAtMost;
             ++count, block = block.next()) {
            const bool composing = !block.layout()->preeditAreaText().isEmpty();
            if (composing || block.fragmentIndex() == m_composed) {
                // Also puts back the occurrences, which the input method's
                // own formats replaced.
                colour(block);
                m_composed = composing ? block.fragmentIndex() : -1;
            } else if (!m_texts.isEmpty() && block.userState() != kCurrent) {
                colour(block);
            }
            if (layer) {
                // A paragraph shown last time and not changed since keeps its
                // selections, which moved with the text.
                const auto found = m_shown.find(block.fragmentIndex());
                const bool known = found != m_shown.end();
                Shown here;
                if (known) {
                    here = std::move(*found);
                    m_shown.erase(found);
                }
                const QString text = block.text();
                // Text replaced wholesale by the same text leaves the
                // selections empty where they were.
                const bool emptied =
                    std::any_of(here.selections.cbegin(), here.selections.cend(),
                                [](const auto& s) { return !s.cursor.hasSelection(); });
                if (!known || here.text != text || here.composing != composing || emptied) {
                    here.text = text;
                    here.composing = composing;
                    QList<QTextEdit::ExtraSelection> now;
                    if (!composing) now = select(block);
                    if (!known || !Same(here.selections, now)) {
                        here.selections = std::move(now);
                        changed = true;
                    }
                }
                order.append(block.fragmentIndex());
                shown.insert(block.fragmentIndex(), std::move(here));
            }
            if (block == last) break;
        }
        changed = changed || !m_shown.isEmpty();  // some went off the screen
        m_shown = std::move(shown);
        m_layerShown = layer;
        if (!changed) return;
        QList<QTextEdit::ExtraSelection> selections;
        for (const int fragment : order) selections += m_shown[fragment].selections;
        if (!Same(m_memo->extraSelections(), selections)) m_memo->setExtraSelections(selections);
    }

    // The paragraph's colouring, less where an occurrence shows.
    QList<QTextLayout::FormatRange> uncovered(const QTextBlock& block) const
    {
        QList<QTextLayout::FormatRange> pieces;
        const QString text = block.text();
        const std::vector<int> taken = occurrenceMap(text);
        for (const QTextLayout::FormatRange& range : m_colouring(block)) {
            const int end = std::min(range.start + range.length, int(text.size()));
            for (int c = std::max(range.start, 0); c < end;) {
                if (!taken.empty() && taken[size_t(c)] > 0) {
                    ++c;
                    continue;
                }
                int stop = c + 1;
                while (stop < end && (taken.empty() || taken[size_t(stop)] == 0)) ++stop;
                pieces.append({c, stop - c, range.format});
                c = stop;
            }
        }
        return pieces;
    }

    QList<QTextEdit::ExtraSelection> select(const QTextBlock& block) const
    {
        QList<QTextEdit::ExtraSelection> selections;
        for (const QTextLayout::FormatRange& piece : uncovered(block)) {
            QTextCursor cursor(block);
            cursor.setPosition(block.position() + piece.start);
            cursor.setPosition(block.position() + piece.start + piece.length,
                               QTextCursor::KeepAnchor);
            selections.append({cursor, piece.format});
        }
        return selections;
    }

    QPointer<QPlainTextEdit> m_memo;
    QList<QPair<QString, QTextCharFormat>> m_texts;
    ParagraphColouring m_colouring;
    // The paragraphs on screen at the last paint, by their place in the
    // document's storage, with the text they had and their selections.
    struct Shown {
        QString text;
        bool composing = false;  // coloured in its layout, with no selections
        QList<QTextEdit::ExtraSelection> selections;
    };
    QHash<int, Shown> m_shown;
    bool m_layerShown = false;  // the selections are the colouring's
    int m_composed = -1;        // the paragraph last seen composing, by its place
    bool m_painting = false;
};

}  // namespace

void HighlightOccurrences(QPlainTextEdit& memo, const QString& text, const QColor& colour)
{
    if (text.isEmpty()) return;
    DisplayHighlighter* highlighter = DisplayHighlighter::of(memo, true);
    if (!highlighter->add(text, colour)) return;
    // Only the paragraphs holding the text are coloured anew.
    for (QTextBlock block = memo.document()->begin(); block.isValid(); block = block.next()) {
        if (block.text().contains(text)) highlighter->colour(block);
    }
}

void SetParagraphColouring(QPlainTextEdit& memo, ParagraphColouring colouring)
{
    if (DisplayHighlighter* highlighter = DisplayHighlighter::of(memo, bool(colouring)))
        highlighter->setColouring(std::move(colouring));
}

bool MayBeHighlighted(const QTextBlock& block)
{
    return block.userState() != kNeverFormatted;
}

}  // namespace markup
