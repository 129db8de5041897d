#include "markup/highlight.h"

#include <QCoreApplication>
#include <QList>
#include <QPlainTextEdit>
#include <QSyntaxHighlighter>
#include <QTextBlock>
#include <QTextDocument>

namespace markup {

namespace {

// Looks for the texts in each paragraph as the editing area lays it out, so
// only the paragraphs that change are searched again.
class OccurrenceHighlighter final : public QSyntaxHighlighter {
public:
    using QSyntaxHighlighter::QSyntaxHighlighter;

    // False when the text is already coloured so.
    bool add(const QString& text, const QColor& colour)
    {
        for (auto& [known, format] : m_texts) {
            if (known != text) continue;
            if (format.foreground().color() == colour) return false;
            format.setForeground(colour);
            return true;
        }
        QTextCharFormat format;
        format.setForeground(colour);
        m_texts.append({text, format});
        return true;
    }

protected:
    void highlightBlock(const QString& block) override
    {
        for (const auto& [text, format] : m_texts) {
            for (qsizetype at = block.indexOf(text); at >= 0; at = block.indexOf(text, at + 1))
                setFormat(int(at), int(text.size()), format);
        }
    }

private:
    QList<QPair<QString, QTextCharFormat>> m_texts;
};

}  // namespace

void HighlightOccurrences(QPlainTextEdit& memo, const QString& text, const QColor& colour)
{
    if (text.isEmpty()) return;
    QTextDocument* document = memo.document();
    auto* highlighter = document->findChild<OccurrenceHighlighter*>();
    if (!highlighter) {
        highlighter = new OccurrenceHighlighter(static_cast<QObject*>(document));
        highlighter->setDocument(document);
        // The highlighter follows edits only after its first full pass,
        // which it leaves to the event loop; run that (empty) pass now.
        QCoreApplication::sendPostedEvents(highlighter, QEvent::MetaCall);
    }
    if (!highlighter->add(text, colour)) return;
    // Only the paragraphs holding the text are coloured anew.
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (block.text().contains(text)) highlighter->rehighlightBlock(block);
    }
}

}  // namespace markup
