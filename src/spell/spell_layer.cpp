#include "spell/spell_layer.h"

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QPainter>
#include <QPen>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <limits>

#include "spell/spell_words.h"

namespace spell {

namespace {

// The document is read for its code blocks in steps of this long, between
// which the window answers; an edit that adds more than kReadAtOnce
// characters is read so too.
constexpr qint64 kScanStepMs = 8;
constexpr int kReadAtOnce = 64 * 1024;

}  // namespace

SpellLayer::SpellLayer(QPlainTextEdit& memo, std::unique_ptr<Dictionary> dictionary)
    : QObject(&memo), m_memo(memo), m_dictionary(std::move(dictionary))
{
    m_scan.setSingleShot(true);
    connect(&m_scan, &QTimer::timeout, this, &SpellLayer::scanStep);
    m_scan.start();
    connect(memo.document(), &QTextDocument::contentsChange, this, &SpellLayer::edited);
    connect(&memo, &QPlainTextEdit::cursorPositionChanged, this, &SpellLayer::caretMoved);
    connect(this, &SpellLayer::marksChanged, memo.viewport(), qOverload<>(&QWidget::update));
}

void SpellLayer::caretMoved()
{
    // Typing goes on, and colours its paragraph anew anyway.
    if (m_heldAt < 0 || m_memo.document()->revision() != m_heldRevision) return;
    if (m_memo.textCursor().position() == m_heldAt) return;
    m_heldAt = -1;
    Q_EMIT marksChanged();
}

SpellLayer::~SpellLayer() = default;

// The markers that start in [from, to) of the document, in order, from
// `block` on.
void SpellLayer::collect(QTextBlock block, int from, int to, std::vector<Marker>& into) const
{
    for (; block.isValid() && block.position() < to; block = block.next()) {
        const QString text = block.text();
        if (!text.contains(u'[')) continue;
        for (const CodeMarker& marker : CodeMarkers(text)) {
            const int at = block.position() + int(marker.at);
            if (at >= from && at < to) into.push_back({at, marker.opens});
        }
    }
}

void SpellLayer::scanStep()
{
    QElapsedTimer spent;
    spent.start();
    QTextBlock block = m_memo.document()->findBlock(m_scannedTo);
    for (; block.isValid() && spent.elapsed() < kScanStepMs; block = block.next()) {
        const int end = block.position() + block.length();
        collect(block, m_scannedTo, end, m_markers);
        m_scannedTo = end;
    }
    if (block.isValid()) {
        m_scan.start();
        return;
    }
    m_scannedTo = std::numeric_limits<int>::max();
    Q_EMIT marksChanged();
}

void SpellLayer::edited(int from, int removed, int added)
{
    // A key typed or erased: the word it ends may not be finished.
    m_typedAt = added <= 1 && removed <= 1 ? from + added : -1;
    if (from >= m_scannedTo) return;  // read later

    // The markers the edit may have made or broken start at most a marker's
    // length before it; those after it move with the text.
    const int reach = int(LongestCodeMarker()) - 1;
    const int start = std::max(from - reach, 0);
    const auto first = std::lower_bound(m_markers.begin(), m_markers.end(), start,
                                        [](const Marker& m, int at) { return m.at < at; });
    if (added > kReadAtOnce || from + removed > m_scannedTo) {
        // Read again from there, in steps.
        m_markers.erase(first, m_markers.end());
        m_scannedTo = start;
        m_scan.start();
        Q_EMIT marksChanged();
        return;
    }
    if (m_scannedTo != std::numeric_limits<int>::max()) m_scannedTo += added - removed;
    const auto after = std::lower_bound(first, m_markers.end(), from + removed,
                                        [](const Marker& m, int at) { return m.at < at; });
    std::vector<Marker> before(first, after);
    for (auto moved = after; moved != m_markers.end(); ++moved) moved->at += added - removed;
    std::vector<Marker> found;
    collect(m_memo.document()->findBlock(start), start, from + added, found);
    const auto sameMarkers = [](const Marker& a, const Marker& b) { return a.opens == b.opens; };
    const bool changed = before.size() != found.size() ||
                         !std::equal(before.begin(), before.end(), found.begin(), sameMarkers);
    const auto at = m_markers.erase(first, after);
    m_markers.insert(at, found.begin(), found.end());
    if (changed) Q_EMIT marksChanged();
}

bool SpellLayer::startsInCode(const QTextBlock& block) const
{
    const auto next = std::lower_bound(m_markers.begin(), m_markers.end(), block.position(),
                                       [](const Marker& m, int at) { return m.at < at; });
    // The last marker before the paragraph decides.
    return next != m_markers.begin() && std::prev(next)->opens;
}

QList<WordSpan> SpellLayer::misspelt(const QTextBlock& block, QList<Misspelling>* words)
{
    QList<WordSpan> spans;
    // Whether a code block is open there is not known yet.
    if (block.position() + block.length() > m_scannedTo) return spans;
    const QString text = block.text();
    for (const WordSpan& span : WordsToCheck(text, startsInCode(block))) {
        const QStringView word = QStringView(text).sliced(span.start, span.length);
        if (m_dictionary->isCorrect(word)) continue;
        spans.append(span);
        if (words)
            words->append({block.position() + int(span.start), int(span.length), word.toString()});
    }
    return spans;
}

QList<WordSpan> SpellLayer::marks(const QTextBlock& block)
{
    QList<WordSpan> spans = misspelt(block);
    const int caret = m_memo.textCursor().position();
    if (caret != m_typedAt || spans.isEmpty()) return spans;
    if (block.position() + spans.constLast().start + spans.constLast().length == caret) {
        spans.removeLast();
        m_heldAt = caret;
        m_heldRevision = m_memo.document()->revision();
    }
    return spans;
}

void SpellLayer::paint(QPainter& painter, const QRect& area, QTextBlock block, QPointF offset)
{
    // A red wave two pixels high, at the bottom of the line.
    painter.setPen(QPen(Qt::red, 1));
    std::vector<QPoint> wave;
    const auto underline = [&](int from, int to, int bottom) {
        wave.clear();
        for (int x = from; x <= to; x += 2) wave.emplace_back(x, bottom - ((x - from) / 2 % 2) * 2);
        if (wave.size() > 1) painter.drawPolyline(wave.data(), int(wave.size()));
    };
    const QAbstractTextDocumentLayout* paragraphs = m_memo.document()->documentLayout();
    // The paragraphs as the editing area lays them out one below the other.
    for (; block.isValid() && offset.y() <= area.bottom(); block = block.next()) {
        const QRectF shown = paragraphs->blockBoundingRect(block).translated(offset);
        offset.ry() += shown.height();
        // Text being composed moves the words; they are marked once it is in.
        const QTextLayout* layout = block.layout();
        if (shown.bottom() < area.top() || !block.isVisible() ||
            !layout->preeditAreaText().isEmpty())
            continue;
        for (const WordSpan& span : marks(block)) {
            const int from = int(span.start), to = int(span.start + span.length);
            // A word wider than the line is broken across lines.
            for (QTextLine line = layout->lineForTextPosition(from);
                 line.isValid() && line.textStart() < to;
                 line = layout->lineAt(line.lineNumber() + 1)) {
                const int end = std::min(to, line.textStart() + line.textLength());
                const qreal left = line.cursorToX(std::max(from, line.textStart()));
                underline(int(shown.left() + left), int(shown.left() + line.cursorToX(end)),
                          int(shown.top() + line.y() + line.height()) - 1);
            }
        }
    }
}

std::optional<Misspelling> SpellLayer::misspellingAt(int position)
{
    QList<Misspelling> words;
    misspelt(m_memo.document()->findBlock(position), &words);
    for (const Misspelling& word : words)
        if (position >= word.position && position <= word.position + word.length) return word;
    return std::nullopt;
}

}  // namespace spell
