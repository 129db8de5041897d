#include "markup/row_index.h"

#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <algorithm>
#include <climits>

#include "markup/highlight.h"

namespace markup {

namespace {

// Characters a caller may wait for to be measured before it is told to ask
// again later: a few milliseconds of text layout.
constexpr qint64 kPromptBudget = 4000;
// The length of one slice of counting between events.
constexpr qint64 kSliceNs = 5'000'000;

bool HasRows(const QTextLayout* layout)
{
    return layout && layout->lineCount() > 0;
}

// Whether the whole block is in one format that leaves the document's font
// as it is, as everything typed or opened is. Its bare text then breaks as
// the block does; several formats, even of colour alone, would cut the text
// into pieces shaped apart, so such a block is laid out as itself.
bool InDocumentFont(const QTextBlock& block, const QTextLayout* layout)
{
    if (layout && !layout->formats().isEmpty()) return false;
    int index = -1;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (index == fragment.charFormatIndex()) continue;
        if (index >= 0) return false;
        index = fragment.charFormatIndex();
        const QTextCharFormat format = fragment.charFormat();
        if (format.font().resolveMask() != 0 ||
            format.verticalAlignment() != QTextCharFormat::AlignNormal)
            return false;
    }
    return true;
}

}  // namespace

RowIndex& RowIndex::of(const QPlainTextEdit& memo)
{
    if (auto* index = memo.findChild<RowIndex*>(QString(), Qt::FindDirectChildrenOnly))
        return *index;
    return *new RowIndex(const_cast<QPlainTextEdit&>(memo));
}

RowIndex::RowIndex(QPlainTextEdit& memo) : QObject(&memo), m_memo(memo)
{
    m_slices = new QTimer(this);
    m_slices->setSingleShot(true);
    m_slices->setInterval(0);
    connect(m_slices, &QTimer::timeout, this, &RowIndex::slice);
    sync();
}

RowIndex::Settings RowIndex::current() const
{
    Settings settings;
    settings.wraps = m_memo.lineWrapMode() != QPlainTextEdit::NoWrap;
    if (!settings.wraps) return settings;
    // As the editing area's own layout breaks a block: the width of the
    // viewport less the document's margins.
    const QTextDocument* document = m_memo.document();
    const QTextOption option = document->defaultTextOption();
    settings.font = document->defaultFont();
    settings.wrapMode = int(option.wrapMode());
    settings.flags = int(option.flags());
    settings.tabStop = option.tabStopDistance();
    // Read from a block the editing area has laid out where there is one;
    // else the viewport's, which it takes on when it next lays out, unless it
    // was never shown: then it has not taken any and does not wrap yet.
    for (const QTextBlock& block : {document->firstBlock(), m_memo.textCursor().block()}) {
        if (HasRows(block.layout())) {
            settings.width = block.layout()->lineAt(0).width();
            return settings;
        }
    }
    const QWidget* viewport = m_memo.viewport();
    qreal width = viewport->testAttribute(Qt::WA_PendingResizeEvent) ? 0 : viewport->width();
    if (width <= 0) width = qreal(INT_MAX);
    width -= 2 * document->documentMargin();
    if (option.flags() & QTextOption::AddSpaceForLineAndParagraphSeparators)
        width -= QFontMetricsF(settings.font).horizontalAdvance(QChar(0x21B5));
    settings.width = width;
    return settings;
}

// Asked for its layout, a block makes one if it has none. Made while counting
// a long document, one per block, that is memory the editing area never asked
// for, and strewn among the counting's own, it makes the editing area's walk
// over every block at each new width about twice as slow. A block surely has
// one where the editing area broke it into several rows (the block's line
// count says so), where the highlighting coloured the text (which gave it
// one) and at the caret, where input-method text is laid out with the block.
// Elsewhere a block the editing area shows in one row is measured afresh,
// with the same result.
const QTextLayout* RowIndex::existingLayout(const QTextBlock& block) const
{
    if (MayBeHighlighted(block) || block.lineCount() > 1) return block.layout();
    const int caret = m_memo.textCursor().position();
    const int start = block.position();
    return caret >= start && caret < start + block.length() ? block.layout() : nullptr;
}

void RowIndex::sync()
{
    QTextDocument* document = m_memo.document();
    if (document != m_document) {
        if (m_document) disconnect(m_document, nullptr, this, nullptr);
        m_document = document;
        connect(document, &QTextDocument::contentsChange, this, &RowIndex::spliced);
        m_settings = current();
        m_counts.reset(document->blockCount());
        return;
    }
    const Settings settings = current();
    if (!(settings == m_settings)) {
        m_settings = settings;
        m_counts.reset(document->blockCount());
    } else if (m_counts.size() != document->blockCount()) {
        m_counts.reset(document->blockCount());
    }
}

void RowIndex::spliced(int from, int removed, int added)
{
    Q_UNUSED(removed);
    if (!m_document) return;
    // The blocks that now hold the changed text replace the ones that held
    // it; their number follows from how the document's block count moved.
    const int blocks = m_document->blockCount();
    const int last = std::clamp(from + added, 0, m_document->characterCount() - 1);
    const int first = m_document->findBlock(std::max(from, 0)).blockNumber();
    const int now = m_document->findBlock(last).blockNumber() - first + 1;
    const int before = now - (blocks - m_counts.size());
    if (first < 0 || now < 1 || before < 1 || first + before > m_counts.size())
        m_counts.reset(blocks);
    else
        m_counts.replace(first, before, now);
    // Counted between events from here on, so that a caret sent far down a
    // document just opened finds its rows mostly known.
    if (m_settings.wraps && !m_slices->isActive()) m_slices->start();
}

int RowIndex::measure(const QTextBlock& block)
{
    const int length = block.length() - 1;  // without the block separator
    const int number = block.blockNumber();
    if (number < 0 || number >= m_counts.size()) return 1;
    if (!m_settings.wraps || length <= 0) {
        m_counts.set(number, 1);
        return 1;
    }
    std::optional<QTextLayout> own;
    const QTextLayout* layout = existingLayout(block);
    if (!HasRows(layout)) {
        // Broken as the editing area's layout would break it.
        if (InDocumentFont(block, layout)) {
            own.emplace(block.text(), m_settings.font);
        } else {
            own.emplace(block);
            if (layout) own->setFormats(layout->formats());
        }
        own->setTextOption(m_document->defaultTextOption());
        own->beginLayout();
        for (QTextLine line = own->createLine(); line.isValid(); line = own->createLine()) {
            line.setLeadingIncluded(true);
            line.setLineWidth(m_settings.width);
        }
        own->endLayout();
        layout = &*own;
    }
    RowCounts::Breaks breaks;
    breaks.reserve(size_t(layout->lineCount()));
    for (int i = 0; i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        breaks.emplace_back(line.textStart(), line.textLength());
    }
    if (breaks.empty() || (breaks.size() == 1 && breaks[0] == std::pair(0, length))) {
        m_counts.set(number, 1);
        return 1;
    }
    const int rows = int(breaks.size());
    m_counts.set(number, std::move(breaks));
    return rows;
}

QList<QPair<int, int>> RowIndex::rows(const QTextBlock& block)
{
    sync();
    const int number = block.blockNumber();
    if (number < 0 || number >= m_counts.size()) return {{0, std::max(block.length() - 1, 0)}};
    // Kept from the last time, unless the block changed since.
    if (m_counts.rows(number) == RowCounts::kUnknown) measure(block);
    const RowCounts::Breaks& breaks = m_counts.breaks(number);
    if (breaks.empty()) return {{0, std::max(block.length() - 1, 0)}};
    QList<QPair<int, int>> rows;
    rows.reserve(qsizetype(breaks.size()));
    for (const auto& [start, length] : breaks) rows.append({start, length});
    return rows;
}

void RowIndex::restyled(const QTextBlock& block)
{
    const int number = block.blockNumber();
    if (block.document() != m_document || number < 0 || number >= m_counts.size() ||
        m_counts.rows(number) == RowCounts::kUnknown)
        return;
    m_counts.set(number, RowCounts::kUnknown);
    if (m_settings.wraps && !m_slices->isActive()) m_slices->start();
}

bool RowIndex::countUpTo(int block, qint64 budget)
{
    // After a new width or font most of the text is stale: rather than
    // spending the budget on a count that cannot finish, leave it all to the
    // slices at once.
    const qint64 average = m_document->characterCount() / std::max(1, m_counts.size());
    if (budget >= 0 && m_counts.unknownBefore(std::min(block, m_counts.size())) * average > budget)
        return false;
    qint64 spent = 0;
    for (int i = m_counts.firstUnknown(0); i <= block && i < m_counts.size();
         i = m_counts.firstUnknown(i + 1)) {
        const QTextBlock stale = m_document->findBlockByNumber(i);
        // The rows on screen are already laid out, and the caret's own block
        // is one of them or soon will be.
        const qint64 cost = HasRows(existingLayout(stale)) || i == block ? 0 : stale.length();
        if (budget >= 0 && spent + cost > budget) return false;
        spent += cost;
        measure(stale);
    }
    return true;
}

void RowIndex::slice()
{
    sync();
    if (!m_settings.wraps) return;
    QElapsedTimer clock;
    clock.start();
    int i = m_counts.firstUnknown(0);
    QTextBlock block = m_document->findBlockByNumber(i);
    while (i < m_counts.size() && clock.nsecsElapsed() < kSliceNs) {
        measure(block);
        const int next = m_counts.firstUnknown(i + 1);
        block = next == i + 1 ? block.next() : m_document->findBlockByNumber(next);
        i = next;
    }
    if (i < m_counts.size()) m_slices->start();
    Q_EMIT progressed();
}

RowPosition RowIndex::answer(int position)
{
    const QTextBlock target = m_document->findBlock(position);
    const int number = target.isValid() ? target.blockNumber() : m_counts.size();
    if (!m_settings.wraps) return {number, target.isValid() ? target.position() : position};
    const int row = int(m_counts.rowsBefore(number));
    if (!target.isValid()) return {row, position};
    const int offset = position - target.position();
    const auto rowsOfTarget = rows(target);
    int index = 0;
    // A position at a wrap point belongs to the row it starts.
    while (index + 1 < rowsOfTarget.size() && offset >= rowsOfTarget[index + 1].first) ++index;
    return {row + index, target.position() + rowsOfTarget[index].first};
}

RowPosition RowIndex::rowOf(int position)
{
    sync();
    if (m_settings.wraps) {
        const QTextBlock target = m_document->findBlock(position);
        countUpTo(target.isValid() ? target.blockNumber() : m_counts.size(), -1);
    }
    return answer(position);
}

std::optional<RowPosition> RowIndex::rowOfSoon(int position)
{
    sync();
    if (m_settings.wraps) {
        const QTextBlock target = m_document->findBlock(position);
        if (!countUpTo(target.isValid() ? target.blockNumber() : m_counts.size(), kPromptBudget)) {
            if (!m_slices->isActive()) m_slices->start();
            return std::nullopt;
        }
    }
    return answer(position);
}

}  // namespace markup
