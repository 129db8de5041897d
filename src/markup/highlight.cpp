#include "markup/highlight.h"

#include <QEvent>
#include <QHash>
#include <QPaintEvent>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <algorithm>
#include <cmath>
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
// Paragraphs whose shapes are kept at most, before those off screen are let
// go.
constexpr int kCachedAtMost = 300;

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

// The two layers of colours of one editing area, laid into the layouts of
// the paragraphs, as a syntax highlighter does, but only where needed: a
// syntax highlighter colours every paragraph of a document it is given, and
// every paragraph an edit touches, at once. The occurrences are coloured
// where an edit touches them up to a budget, and the rest just before it is
// painted; the paragraph colouring only just before a paragraph is painted,
// so that it costs what the screen shows, not what the document holds.
//
// New formats in a paragraph's layout make the document report the
// paragraph and the next one as changed, which the editing area would
// answer by repainting all of the screen; the formats are given quietly
// instead, and only the paragraph's own rectangle is repainted, or none
// when the paint about to happen covers it.
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

    // The paragraphs on screen are coloured again at once; those off it
    // when they come on it.
    void setColouring(ParagraphColouring colouring)
    {
        m_colouring = std::move(colouring);
        m_shown.clear();
        if (m_memo) prepareScreen({});
    }

    // Colours the block anew: its occurrences, and the paragraph colouring
    // when it is on. Inside an edit (`editing`), before the document is laid
    // out again, the layout takes the new formats with the new text. Else
    // they are given quietly; `painting` is the region the paint about to
    // happen covers, which needs no repaint of its own.
    void colour(QTextBlock block, bool editing = false, const QRegion& painting = {})
    {
        block.setUserState(kCurrent);
        QTextLayout* layout = block.layout();
        QList<QTextLayout::FormatRange> ranges = occurrences(block.text());
        if (m_colouring) ranges += uncovered(block);
        if (const int length = int(layout->preeditAreaText().size())) {
            const int start = layout->preeditAreaPosition();
            ranges = AroundPreedit(ranges, start, length);
            // Text being composed keeps the formats the input method gave it.
            for (const QTextLayout::FormatRange& range : layout->formats())
                if (range.start >= start && range.start + range.length <= start + length)
                    ranges.append(range);
        }
        if (ranges == layout->formats()) return;
        auto* document = static_cast<QTextDocument*>(parent());
        if (editing || !m_memo) {
            layout->setFormats(ranges);
            document->markContentsDirty(block.position(), block.length());
        } else {
            const int top = m_memo->cursorRect(QTextCursor(block)).top();
            const QRect shown(0, top, m_memo->viewport()->width(),
                              int(std::ceil(layout->boundingRect().height())) + 1);
            {
                const QSignalBlocker quiet(document->documentLayout());
                layout->setFormats(ranges);
                document->markContentsDirty(block.position(), block.length());
            }
            if (shown.intersects(m_memo->viewport()->rect()) && !painting.contains(shown))
                m_memo->viewport()->update(shown);
        }
        if (!m_memo) return;
        if (auto* rows = m_memo->findChild<RowIndex*>(QString(), Qt::FindDirectChildrenOnly))
            rows->restyled(block);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && m_memo && watched == m_memo->viewport() &&
            !m_painting) {
            m_painting = true;
            prepareScreen(static_cast<QPaintEvent*>(event)->region());
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
        if (m_texts.isEmpty() && !m_colouring) return;
        auto* document = static_cast<QTextDocument*>(parent());
        QTextBlock block = document->findBlock(from);
        const QTextBlock last = document->findBlock(from + added + (removed > 0 ? 1 : 0));
        const int end = last.isValid() ? last.blockNumber() : document->blockCount() - 1;
        qsizetype spent = 0;
        for (; block.isValid() && block.blockNumber() <= end; block = block.next()) {
            if (spent == 0 || spent + block.length() <= kEditBudget) {
                spent += block.length();
                colour(block, true);
                // Shown, it is coloured for its new text already.
                const auto shown = m_shown.find(block.fragmentIndex());
                if (shown != m_shown.end()) shown->text = block.text();
            } else if (block.userState() != kNeverFormatted) {
                block.setUserState(kStale);
            }
        }
    }

    // Just before the editing area paints: the paragraphs on screen whose
    // colours were left for later or are no longer those of their text.
    void prepareScreen(const QRegion& painting)
    {
        const bool layer = bool(m_colouring);
        if (m_texts.isEmpty() && !layer && !m_layerShown) return;
        if (layer != m_layerShown) m_shown.clear();
        m_layerShown = layer;
        // The paragraphs on screen: from the one whose line the scroll bar
        // puts at the top (and the one before it, should the bar be a step
        // behind an edit) until a screen's height is passed.
        auto* document = static_cast<QTextDocument*>(parent());
        const QAbstractTextDocumentLayout* const lines = document->documentLayout();
        QTextBlock block = document->findBlockByLineNumber(m_memo->verticalScrollBar()->value());
        qreal below = m_memo->viewport()->height();
        if (block.previous().isValid()) {
            block = block.previous();
            below += lines->blockBoundingRect(block).height();
        }
        below += lines->blockBoundingRect(block.next()).height();
        QHash<int, Shown> shown;
        for (int count = 0; block.isValid() && count < kShownAtMost && below > 0;
             ++count, block = block.next()) {
            const int fragment = block.fragmentIndex();
            const auto found = m_shown.constFind(fragment);
            QString preedit = block.layout()->preeditAreaText();
            // Coloured when last shown, and every edit since recoloured it
            // or marked it stale: its colours are those of its text.
            if (found != m_shown.cend() && block.userState() == kCurrent &&
                found->preedit == preedit) {
                shown.insert(fragment, *found);
            } else {
                // A paragraph shown last time and not changed since keeps
                // its colours.
                Shown here{block.text(), std::move(preedit)};
                const bool current = found != m_shown.cend() && found->text == here.text &&
                                     found->preedit == here.preedit;
                if (!current || (!m_texts.isEmpty() && block.userState() != kCurrent))
                    colour(block, false, painting);
                shown.insert(fragment, std::move(here));
            }
            // A coloured paragraph is many runs of text to shape: shaped
            // once, not again at every paint, while it is on screen.
            if (layer && !block.layout()->cacheEnabled()) {
                block.layout()->setCacheEnabled(true);
                m_cached.push_back({QTextCursor(block), fragment});
            }
            below -= lines->blockBoundingRect(block).height();
        }
        m_shown = std::move(shown);
        if (m_cached.size() > size_t(kCachedAtMost) || !layer) forgetShapes();
    }

    // The shapes of the paragraphs no longer on screen are let go, the
    // oldest first, so that paging through a long document keeps what a few
    // screens need. A paragraph is followed by a cursor in it: one that an
    // edit removed is gone with its shapes.
    void forgetShapes()
    {
        auto* document = static_cast<QTextDocument*>(parent());
        const QSignalBlocker quiet(document->documentLayout());
        const size_t keep = m_layerShown ? size_t(kCachedAtMost) / 2 : 0;
        std::vector<Cached> kept;
        while (m_cached.size() > keep + kept.size()) {
            Cached& oldest = m_cached[kept.size()];
            const QTextBlock block = oldest.cursor.block();
            if (block.fragmentIndex() == oldest.fragment && m_layerShown &&
                m_shown.contains(oldest.fragment)) {
                kept.push_back(std::move(oldest));  // still on screen
                continue;
            }
            if (block.fragmentIndex() == oldest.fragment && block.layout()->cacheEnabled()) {
                // New formats, the same as the old, let the shapes go.
                QTextLayout* layout = block.layout();
                layout->setCacheEnabled(false);
                layout->setFormats(layout->formats());
                document->markContentsDirty(block.position(), block.length());
            }
            m_cached.erase(m_cached.begin() + qsizetype(kept.size()));
        }
        m_cached.insert(m_cached.begin(), std::make_move_iterator(kept.begin()),
                        std::make_move_iterator(kept.end()));
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

    QPointer<QPlainTextEdit> m_memo;
    QList<QPair<QString, QTextCharFormat>> m_texts;
    ParagraphColouring m_colouring;
    // The paragraphs on screen at the last paint, by their place in the
    // document's storage, with the text they were coloured for.
    struct Shown {
        QString text;
        QString preedit;  // what an input method was composing in it
    };
    QHash<int, Shown> m_shown;
    bool m_layerShown = false;  // the paragraphs on screen have the colouring
    bool m_painting = false;
    // The paragraphs whose shapes are kept, oldest first.
    struct Cached {
        QTextCursor cursor;
        int fragment;
    };
    std::vector<Cached> m_cached;
};

// The plain-text layout looks for the last paragraph a change reaches at its
// start plus what it removed plus what it added: past the change whenever
// it removed anything, as new colours do (the whole paragraph, removed and
// written again). It then lays out the paragraphs again only when painted
// and repaints the whole screen. Told where the change really ends, it lays
// out and repaints the one paragraph.
class EditorLayout final : public QPlainTextDocumentLayout {
public:
    explicit EditorLayout(QTextDocument* document)
        : QPlainTextDocumentLayout(document), m_blocks(document->blockCount())
    {
    }

protected:
    void documentChanged(int from, int removed, int added) override
    {
        const QTextDocument* text = document();
        if (removed > 0 && added > 0 && text->blockCount() == m_blocks &&
            text->findBlock(from) == text->findBlock(from + added - 1))
            removed = 0;
        m_blocks = text->blockCount();
        QPlainTextDocumentLayout::documentChanged(from, removed, added);
    }

private:
    int m_blocks;
};

}  // namespace

QTextDocument* NewEditorDocument(QObject* parent)
{
    auto* document = new QTextDocument(parent);
    document->setDocumentLayout(new EditorLayout(document));
    return document;
}

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
