#include "convert/tag_check.h"

#include <algorithm>
#include <vector>

#include "convert/tag_scan.h"
#include "convert/ybb_to_html.h"
#include "markup/tag_table.h"

using namespace Qt::Literals::StringLiterals;

namespace convert {

namespace {

using scan::Flaw;
using scan::Form;
using scan::Role;

// Text shown between corner brackets, cut short where it is long.
QString Quoted(QStringView text)
{
    constexpr qsizetype kShown = 48;
    QString quoted = u"「"_s;
    if (text.size() <= kShown) return quoted.append(text).append(u"」");
    return quoted.append(text.first(kShown)).append(u"…」");
}

class Checker {
public:
    explicit Checker(QStringView text) : m_text(text), m_scanner(text), m_open(scan::KindCount()) {}

    QList<TagProblem> run()
    {
        scan::Tag tag;
        while (m_scanner.next(tag)) {
            if (tag.flaw != Flaw::None) found({tag, What::Flaw, {}});
            if (tag.flaw == Flaw::Unended || tag.flaw == Flaw::Stray || tag.role == Role::Single)
                continue;
            if (tag.role == Role::Opener)
                open(tag);
            else
                close(tag);
        }
        // The openers left open, in the order of the text like the rest.
        QList<Found> unclosed;
        for (const Open& open : m_stack) {
            if (unclosed.size() == kMaxTagProblems) break;
            if (!open.closed && !open.flawed) unclosed.append({tagOf(open), What::Unclosed, {}});
        }
        QList<TagProblem> problems;
        for (qsizetype a = 0, b = 0;
             problems.size() < kMaxTagProblems && (a < m_found.size() || b < unclosed.size());) {
            const bool first = b == unclosed.size() ||
                               (a < m_found.size() && m_found[a].tag.start < unclosed[b].tag.start);
            const Found& next = first ? m_found[a++] : unclosed[b++];
            problems.append({next.tag.start, next.tag.length, describe(next)});
        }
        return problems;
    }

private:
    enum class What { Flaw, NoOpener, Crossed, Unclosed };
    // A problem found, described only if it is among those reported.
    struct Found {
        scan::Tag tag;
        What what;
        scan::Tag other;  // the tag a closer crossed
    };
    // An open tag, small: a long post may leave a great many open.
    struct Open {
        qsizetype start;
        int length;
        qint16 kind;
        bool flawed;
        bool closed;
    };

    void found(const Found& problem)
    {
        // Later problems cannot be among the first kMaxTagProblems.
        if (m_found.size() < kMaxTagProblems) m_found.append(problem);
    }

    void open(const scan::Tag& tag)
    {
        m_open[tag.kind].push_back(quint32(m_stack.size()));
        m_stack.push_back(
            {tag.start, int(tag.length), qint16(tag.kind), tag.flaw != Flaw::None, false});
    }

    // The opener back as the scanner gave it; its value is where its kind
    // puts it.
    scan::Tag tagOf(const Open& open) const
    {
        const scan::Kind& kind = scan::KindAt(open.kind);
        scan::Tag tag{open.start, open.length,  0,         0, open.kind,
                      kind.form,  Role::Opener, Flaw::None};
        const qsizetype prefix = kind.form == Form::Colour ? 1 : kind.opener.size();
        const qsizetype suffix = kind.form == Form::Address ? 2 : 1;
        if (kind.form != Form::Plain) {
            tag.valueStart = open.start + prefix;
            tag.valueLength = qMax<qsizetype>(0, open.length - prefix - suffix);
        }
        return tag;
    }

    // The innermost open tag of the same kind closes, wherever it stands;
    // tags opened after it and still open are crossed. Closed tags are only
    // marked, and leave the stack once nothing open lies above them, so each
    // tag is handled a fixed number of times.
    void close(const scan::Tag& tag)
    {
        std::vector<quint32>& mine = m_open[tag.kind];
        if (mine.empty()) {
            if (tag.flaw == Flaw::None) found({tag, What::NoOpener, {}});
            return;
        }
        const size_t index = mine.back();
        mine.pop_back();
        if (index + 1 != m_stack.size() && tag.flaw == Flaw::None)
            found({tag, What::Crossed, tagOf(m_stack.back())});
        m_stack[index].closed = true;
        while (!m_stack.empty() && m_stack.back().closed) m_stack.pop_back();
    }

    QString describe(const Found& problem)
    {
        const QString quoted = Quoted(textOf(problem.tag));
        switch (problem.what) {
            case What::Flaw:
                return flawDescription(problem.tag);
            case What::NoOpener:
                return quoted + u"沒有對應的開始標籤"_s;
            case What::Crossed:
                return quoted + u"出現在"_s + Quoted(textOf(problem.other)) +
                       u"結束之前，標籤交錯"_s;
            case What::Unclosed:
                break;
        }
        QString description = quoted + u"沒有結束標籤"_s + Quoted(closerFor(problem.tag));
        if (problem.tag.form == Form::Colour) description += u"："_s + result(problem.tag);
        return description;
    }

    QString flawDescription(const scan::Tag& tag)
    {
        const QString quoted = Quoted(textOf(tag));
        switch (tag.flaw) {
            case Flaw::NoSpaceAfter:
                return quoted + u"的「]」後面要有一個空格："_s + result(tag);
            case Flaw::NoSpaceBefore:
                return u"顏色標籤"_s + quoted + u"前面要有一個空格："_s + result(tag);
            case Flaw::SpaceBefore:
                return u"顏色結束標籤"_s + quoted + u"前面不可有空格："_s + result(tag);
            case Flaw::Unended:
                return quoted + u"在這一行沒有結尾的"_s +
                       Quoted(tag.form == Form::Address ? u"\"]"_s : u"]"_s) + u"："_s +
                       result(tag);
            case Flaw::Stray:
                return quoted + u"在這一行沒有對應的「]」，仍會被轉換："_s + result(tag);
            case Flaw::None:
                break;
        }
        return {};
    }

    // What the converter makes of the tag and a few characters after it on
    // its line, with the space before it where the converter reads that too.
    QString result(const scan::Tag& tag)
    {
        constexpr qsizetype kAfter = 8;
        qsizetype from = tag.start;
        const bool spaceRead = tag.role == Role::Opener ? tag.flaw != Flaw::NoSpaceBefore
                                                        : tag.flaw == Flaw::SpaceBefore;
        if (tag.form == Form::Colour && spaceRead && from > 0 && m_text[from - 1] == u' ') --from;
        qsizetype to = tag.start + tag.length;
        for (const qsizetype stop = std::min(m_text.size(), to + kAfter);
             to < stop && m_text[to] != u'[' && m_text[to] != u'\n';)
            ++to;
        const QString stretch = m_text.sliced(from, to - from).toString();
        return Quoted(stretch) + u"會變成"_s + Quoted(ConvertYbbToHtml(stretch));
    }

    QString closerFor(const scan::Tag& tag) const
    {
        const scan::Kind& kind = scan::KindAt(tag.kind);
        const QStringView value = m_text.sliced(tag.valueStart, tag.valueLength);
        switch (tag.form) {
            case Form::Named:
                return kind.closer.toString().append(value).append(u"] ");
            case Form::Colour:
                return markup::ColourTags(value.toString()).closing;
            default:
                return kind.closer.toString();
        }
    }

    QStringView textOf(const scan::Tag& tag) const { return m_text.sliced(tag.start, tag.length); }

    QStringView m_text;
    scan::Scanner m_scanner;
    std::vector<Open> m_stack;
    std::vector<std::vector<quint32>> m_open;  // per kind, where its open tags stand
    QList<Found> m_found;
};

// The tag whose content is a picture's address.
int ImageKind()
{
    static const int kind = [] {
        const QStringView image = markup::kPictureOpen;
        for (int k = 0; k < scan::KindCount(); ++k)
            if (scan::KindAt(k).opener == image) return k;
        return -1;
    }();
    return kind;
}

}  // namespace

QList<TagProblem> CheckTags(QStringView text)
{
    return Checker(text).run();
}

QList<ColouredSpan> TagColours(QStringView paragraph)
{
    QList<ColouredSpan> spans;
    const auto add = [&spans](qsizetype start, qsizetype length, TagColour colour) {
        if (length > 0) spans.append({int(start), int(length), colour});
    };
    scan::Scanner scanner(paragraph);
    scan::Tag tag;
    qsizetype address = -1;  // after an image opener, where its address starts
    while (scanner.next(tag)) {
        if (tag.flaw != Flaw::None) {
            add(tag.start, tag.length, TagColour::Unpaired);
            address = -1;
            continue;
        }
        if (tag.kind == ImageKind() && tag.role == Role::Closer && address >= 0)
            add(address, tag.start - address, TagColour::Value);
        address = tag.kind == ImageKind() && tag.role == Role::Opener ? tag.start + tag.length : -1;
        const qsizetype valueEnd = tag.valueStart + tag.valueLength;
        add(tag.start, tag.valueStart - tag.start, TagColour::Name);
        add(tag.valueStart, tag.valueLength, TagColour::Value);
        add(valueEnd, tag.start + tag.length - valueEnd, TagColour::Name);
    }
    return spans;
}

}  // namespace convert
