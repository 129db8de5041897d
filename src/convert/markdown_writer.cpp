// CommonMark with GitHub's strike-through, as Discourse, Reddit and GitHub
// read it. The post's lines stay lines (hard breaks), blank lines part
// paragraphs, and every character Markdown would read as syntax is escaped.
#include <QList>
#include <algorithm>

#include "convert/markup_writers.h"

using namespace Qt::Literals::StringLiterals;

namespace convert {

namespace {

// Read as syntax anywhere in a line.
bool AlwaysEscaped(QChar c)
{
    return QStringView(u"\\`*_[]<>&~|").contains(c);
}

// Read as syntax at the start of a line: headings, rules, list items,
// quotes, setext underlines.
bool EscapedFirst(QChar c)
{
    return QStringView(u"#-+=>").contains(c);
}

bool Delimited(Form form)
{
    return form == Form::Bold || form == Form::Italic || form == Form::Strike;
}

struct Span {
    Form form;
    QString value;
    qsizetype at;  // where in the paragraph its text starts
};

class MarkdownWriter final : public MarkupWriter {
public:
    void open(Form form, QStringView value) override
    {
        switch (form) {
            case Form::Quote:
            case Form::List:
                endParagraph();
                m_containers.append(form);
                return;
            case Form::Item:
                endParagraph();
                newLine();
                m_containers.append(form);
                m_out += u"- ";
                m_lineStart = true;
                return;
            case Form::Code:
                endParagraph();
                m_inCode = true;
                m_code.clear();
                return;
            default:
                break;
        }
        if (m_inCode || (!Delimited(form) && form != Form::Link && form != Form::Mail)) {
            drop(form);
            return;
        }
        breakLines();
        m_spans.append({form, value.toString(), m_paragraph.size()});
    }

    void close(Form form, QStringView) override
    {
        switch (form) {
            case Form::Quote:
            case Form::List:
            case Form::Item:
                endParagraph();
                if (!m_containers.isEmpty()) m_containers.removeLast();
                // A line after a list or a quote would go on inside it.
                if (form != Form::Item) m_blankBefore = true;
                return;
            case Form::Code:
                writeCode();
                return;
            default:
                break;
        }
        if (m_spans.isEmpty() || m_spans.last().form != form) return;  // dropped at open
        closeSpan(m_spans.takeLast());
    }

    void text(QStringView text) override
    {
        if (m_inCode) {
            m_code += text;
            return;
        }
        breakLines();
        for (const QChar c : text) {
            const bool first =
                m_paragraph.isEmpty() || m_paragraph.endsWith(u'\n') || m_leadingSpaces;
            if (first && (c == u' ' || c == u'\t')) {
                // Leading spaces would make code of the line.
                m_paragraph += c == u' ' ? u"&#32;"_s : u"&#9;"_s;
                m_leadingSpaces = true;
                continue;
            }
            m_leadingSpaces = false;
            if (AlwaysEscaped(c) || (first && EscapedFirst(c))) m_paragraph += u'\\';
            // "1." or "1)" at the start of a line begins an ordered list.
            if ((c == u'.' || c == u')') && OnlyDigitsBefore()) m_paragraph += u'\\';
            m_paragraph += c;
        }
    }

    void lineBreak() override
    {
        if (m_inCode) {
            m_code += u'\n';
            return;
        }
        ++m_breaks;
    }

    void cellBreak() override { text(u"\t"); }

    void picture(QStringView address) override
    {
        if (m_inCode) {
            drop(Form::Picture);
            m_code += address;
            return;
        }
        breakLines();
        m_paragraph += u"![]("_s + Address(address) + u')';
    }

    void rule() override
    {
        if (m_inCode) return;
        endParagraph();
        // Right after a paragraph's line, "---" would make it a heading.
        m_blankBefore = true;
        newLine();
        m_out += u"---"_s;
        m_blankBefore = true;
    }

    qsizetype size() const override { return m_out.size() + m_paragraph.size() + m_code.size(); }

    QString result() override
    {
        if (m_inCode) writeCode();
        endParagraph();
        return m_out;
    }

private:
    static QString Address(QStringView given)
    {
        QString address = given.toString();
        return address.replace(u' ', u"%20"_s)
            .replace(u'(', u"%28"_s)
            .replace(u')', u"%29"_s)
            .replace(u'<', u"%3C"_s)
            .replace(u'>', u"%3E"_s);
    }

    bool OnlyDigitsBefore() const
    {
        qsizetype i = m_paragraph.size();
        while (i > 0 && m_paragraph[i - 1].isDigit()) --i;
        return i < m_paragraph.size() && (i == 0 || m_paragraph[i - 1] == u'\n');
    }

    // The start of a line in the open containers: a new item's "- " follows
    // its parents' prefix.
    QString prefix() const
    {
        QString prefix;
        for (const Form container : m_containers) {
            if (container == Form::Quote) prefix += u"> "_s;
            if (container == Form::Item) prefix += u"  "_s;
        }
        return prefix;
    }

    // Starts a line of the output in the open containers.
    void newLine()
    {
        if (!m_out.isEmpty()) {
            m_out += u'\n';
            if (m_blankBefore) {
                m_out += prefix().trimmed();
                m_out += u'\n';
            }
        }
        m_blankBefore = false;
        m_out += prefix();
    }

    // Line breaks seen since the last text: one is a hard break within the
    // paragraph, more part paragraphs.
    void breakLines()
    {
        const int breaks = std::exchange(m_breaks, 0);
        if (breaks == 0) return;
        if (breaks == 1 && !m_paragraph.isEmpty()) {
            m_paragraph += u"\\\n"_s;
            return;
        }
        if (breaks > 1 || m_lineStart) {
            endParagraph();
            if (breaks > 1) m_blankBefore = true;
        }
    }

    void endParagraph()
    {
        m_breaks = 0;
        // Spans go on in the next paragraph: closed here, opened there.
        QList<Span> open = std::exchange(m_spans, {});
        for (qsizetype i = open.size(); i-- > 0;) closeSpan(open[i]);
        if (!m_paragraph.isEmpty()) {
            if (!m_lineStart) newLine();
            const QString continued = u'\n' + prefix();
            m_out += m_paragraph.replace(u'\n', continued);
            m_paragraph.clear();
        }
        m_lineStart = false;
        for (Span& span : open) span.at = 0;
        m_spans = open;
    }

    void closeSpan(const Span& span)
    {
        const qsizetype from = std::min(span.at, m_paragraph.size());
        qsizetype begin = from, end = m_paragraph.size();
        while (begin < end && m_paragraph[begin].isSpace()) ++begin;
        while (end > begin && m_paragraph[end - 1].isSpace()) --end;
        if (span.form == Form::Link || span.form == Form::Mail) {
            const QString target =
                (span.form == Form::Mail ? u"mailto:"_s : QString()) + Address(span.value);
            m_paragraph.insert(end, u"]("_s + target + u')');
            m_paragraph.insert(begin, u'[');
            return;
        }
        if (begin == end) return;
        // Markdown's delimiters do not hold against punctuation at the
        // edges of what they mark ("**「引」**"); HTML's tags do.
        const bool tags =
            !m_paragraph[begin].isLetterOrNumber() || !m_paragraph[end - 1].isLetterOrNumber();
        QString open, close;
        switch (span.form) {
            case Form::Bold:
                open = tags ? u"<strong>"_s : u"**"_s;
                close = tags ? u"</strong>"_s : u"**"_s;
                break;
            case Form::Italic:
                open = tags ? u"<em>"_s : u"*"_s;
                close = tags ? u"</em>"_s : u"*"_s;
                break;
            default:
                open = tags ? u"<del>"_s : u"~~"_s;
                close = tags ? u"</del>"_s : u"~~"_s;
        }
        m_paragraph.insert(end, close);
        m_paragraph.insert(begin, open);
    }

    void writeCode()
    {
        m_inCode = false;
        // A fence longer than any run of backticks in the code.
        int longest = 0, run = 0;
        for (const QChar c : std::as_const(m_code)) {
            run = c == u'`' ? run + 1 : 0;
            longest = std::max(longest, run);
        }
        const QString fence(std::max(3, longest + 1), u'`');
        newLine();
        m_out += fence;
        for (const QStringView line : QStringView(m_code).split(u'\n')) {
            newLine();
            m_out += line;
        }
        newLine();
        m_out += fence;
        m_code.clear();
    }

    QString m_out;        // finished lines
    QString m_paragraph;  // the paragraph being written, its lines apart by '\n'
    QList<Span> m_spans;  // open inline forms, outermost first
    QList<Form> m_containers;
    QString m_code;
    bool m_inCode = false;
    int m_breaks = 0;
    bool m_blankBefore = false;
    bool m_lineStart = false;      // an item's "- " was written, its text not yet
    bool m_leadingSpaces = false;  // the line so far is spaces written as entities
};

}  // namespace

std::unique_ptr<MarkupWriter> MakeMarkdownWriter()
{
    return std::make_unique<MarkdownWriter>();
}

}  // namespace convert
