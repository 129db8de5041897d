#include "convert/tag_check.h"

#include <QHash>
#include <algorithm>
#include <deque>
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

// How much of a text a description shows.
constexpr qsizetype kShown = 48;

// Text shown between corner brackets, cut short where it is long.
QString Quoted(QStringView text)
{
    QString quoted = u"「"_s;
    if (text.size() <= kShown) return quoted.append(text).append(u"」");
    return quoted.append(text.first(kShown)).append(u"…」");
}

class Checker {
public:
    explicit Checker(QStringView text)
        : m_text(text),
          m_scanner(text),
          m_open(scan::KindCount()),
          m_innermost(scan::KindCount(), -1)
    {
    }

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
        // The openers left open, in the order of the text like the rest: the
        // first of every kind's, merged.
        std::vector<std::pair<Open, int>> left;
        for (int kind = 0; kind < int(m_open.size()); ++kind) {
            qsizetype taken = 0;
            for (const Open open : m_open[kind]) {
                if (taken == kMaxTagProblems) break;
                if (!flawed(open)) {
                    left.push_back({open, kind});
                    ++taken;
                }
            }
        }
        std::sort(left.begin(), left.end());
        QList<Found> unclosed;
        for (const auto& [open, kind] : left) {
            if (unclosed.size() == kMaxTagProblems) break;
            unclosed.append({tagOf(open, kind), What::Unclosed, {}});
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
    // An open tag in one word, where it starts and whether it broke a
    // spacing rule: a long post may leave a great many open. The rest is
    // read again from the text for the few that are reported.
    using Open = quint64;
    static Open opened(const scan::Tag& tag)
    {
        return quint64(tag.start) << 1 | (tag.flaw != Flaw::None ? 1 : 0);
    }
    static qsizetype startOf(Open open) { return qsizetype(open >> 1); }
    static bool flawed(Open open) { return open & 1; }

    void found(const Found& problem)
    {
        // Later problems cannot be among the first kMaxTagProblems.
        if (m_found.size() < kMaxTagProblems) m_found.append(problem);
    }

    void open(const scan::Tag& tag)
    {
        m_open[tag.kind].push_back(opened(tag));
        m_innermost[tag.kind] = tag.start;
    }

    // The opener back as the scanner gave it; its value is where its kind
    // puts it. An opener the scanner took ends at the first end its form
    // has after the name.
    scan::Tag tagOf(Open open, int kindIndex)
    {
        const scan::Kind& kind = scan::KindAt(kindIndex);
        const qsizetype start = startOf(open);
        qsizetype length = kind.opener.size();
        if (kind.form != Form::Plain) {
            qsizetype& known = m_lengths[start];
            if (known == 0) {
                // "[url=\"" ends at the "\"]" its own quote may begin.
                const qsizetype from =
                    start + (kind.form == Form::Colour  ? 1
                             : kind.form == Form::Named ? kind.opener.size()
                                                        : kind.opener.size() - 1);
                const QStringView end = kind.form == Form::Address ? u"\"]" : u"]";
                known = m_text.indexOf(end, from) + end.size() - start;
            }
            length = known;
        }
        scan::Tag tag{start, length, 0, 0, kindIndex, kind.form, Role::Opener, Flaw::None};
        const qsizetype prefix = kind.form == Form::Colour ? 1 : kind.opener.size();
        const qsizetype suffix = kind.form == Form::Address ? 2 : 1;
        if (kind.form != Form::Plain) {
            tag.valueStart = start + prefix;
            tag.valueLength = qMax<qsizetype>(0, length - prefix - suffix);
        }
        return tag;
    }

    // The innermost open tag of the same kind closes, wherever it stands;
    // a tag of any kind opened after it and still open is crossed.
    void close(const scan::Tag& tag)
    {
        std::deque<Open>& mine = m_open[tag.kind];
        if (mine.empty()) {
            if (tag.flaw == Flaw::None) found({tag, What::NoOpener, {}});
            return;
        }
        const qsizetype start = startOf(mine.back());
        mine.pop_back();
        m_innermost[tag.kind] = mine.empty() ? -1 : startOf(mine.back());
        if (tag.flaw != Flaw::None || m_found.size() == kMaxTagProblems) return;
        const auto last = std::max_element(m_innermost.begin(), m_innermost.end());
        if (*last > start) {
            const int kind = int(last - m_innermost.begin());
            found({tag, What::Crossed, tagOf(m_open[kind].back(), kind)});
        }
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
        const QStringView stretch = m_text.sliced(from, to - from);
        return Quoted(stretch) + u"會變成"_s + Quoted(ConvertYbbToHtmlStart(stretch, kShown + 1));
    }

    QString closerFor(const scan::Tag& tag) const
    {
        const scan::Kind& kind = scan::KindAt(tag.kind);
        // Only what can be shown of a long value: the closer made of it
        // reads the same as far as it is shown, and is as long past that.
        const QStringView value = m_text.sliced(tag.valueStart, qMin(tag.valueLength, kShown + 1));
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
    // Per kind, its open tags in the order of the text; in blocks, which
    // grow without copying what they hold.
    std::vector<std::deque<Open>> m_open;
    std::vector<qsizetype> m_innermost;     // per kind, where its last open tag starts; -1: none
    QHash<qsizetype, qsizetype> m_lengths;  // of the openers described, by where they start
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
