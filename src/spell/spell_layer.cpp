#include "spell/spell_layer.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

#include "spell/spell_words.h"

namespace spell {

SpellLayer::SpellLayer(QPlainTextEdit& memo, std::unique_ptr<Dictionary> dictionary)
    : QObject(&memo), m_memo(memo), m_dictionary(std::move(dictionary))
{
    m_underline.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    m_underline.setUnderlineColor(Qt::red);
    collect(0, memo.document()->characterCount(), m_markers);
    connect(memo.document(), &QTextDocument::contentsChange, this, &SpellLayer::edited);
}

SpellLayer::~SpellLayer() = default;

// The markers that start in [from, to) of the document, in order.
void SpellLayer::collect(int from, int to, std::vector<Marker>& into) const
{
    const QTextDocument* document = m_memo.document();
    for (QTextBlock block = document->findBlock(from); block.isValid() && block.position() < to;
         block = block.next()) {
        const QString text = block.text();
        if (!text.contains(u'[')) continue;
        for (const CodeMarker& marker : CodeMarkers(text)) {
            const int at = block.position() + int(marker.at);
            if (at >= from && at < to) into.push_back({at, marker.opens});
        }
    }
}

void SpellLayer::edited(int from, int removed, int added)
{
    // The markers the edit may have made or broken start at most a marker's
    // length before it; those after it move with the text.
    const int reach = int(LongestCodeMarker()) - 1;
    const int start = std::max(from - reach, 0);
    const auto first = std::lower_bound(m_markers.begin(), m_markers.end(), start,
                                        [](const Marker& m, int at) { return m.at < at; });
    const auto after = std::lower_bound(first, m_markers.end(), from + removed,
                                        [](const Marker& m, int at) { return m.at < at; });
    std::vector<Marker> before(first, after);
    for (auto moved = after; moved != m_markers.end(); ++moved) moved->at += added - removed;
    std::vector<Marker> found;
    collect(start, from + added, found);
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

QList<QTextLayout::FormatRange> SpellLayer::misspelt(const QTextBlock& block,
                                                     QList<Misspelling>* words)
{
    QList<QTextLayout::FormatRange> ranges;
    const QString text = block.text();
    for (const WordSpan& span : WordsToCheck(text, startsInCode(block))) {
        const QStringView word = QStringView(text).sliced(span.start, span.length);
        if (m_dictionary->isCorrect(word)) continue;
        ranges.append({int(span.start), int(span.length), m_underline});
        if (words)
            words->append({block.position() + int(span.start), int(span.length), word.toString()});
    }
    return ranges;
}

QList<QTextLayout::FormatRange> SpellLayer::formats(const QTextBlock& block)
{
    return misspelt(block);
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
