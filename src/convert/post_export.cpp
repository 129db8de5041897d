#include "convert/post_export.h"

#include <QList>
#include <QStringList>
#include <array>
#include <limits>
#include <utility>
#include <vector>

#include "convert/markup_writers.h"
#include "convert/tag_scan.h"
#include "convert/ybb_to_html.h"
#include "markup/tag_table.h"

using namespace Qt::Literals::StringLiterals;

namespace convert {

namespace {

// How the dropped forms are named to the user, in the order of Form.
constexpr std::array<QStringView, kForms> kFormNames = {
    u"粗體", u"斜體", u"底線", u"刪除線", u"超連結", u"電子信箱", u"圖片", u"引言", u"程式碼",
    u"項目", u"項目", u"靠左", u"置中",   u"靠右",   u"水平線",   u"字型", u"大小", u"顏色",
};

// The converter's HTML with its quotation furniture made plain quotations,
// as a fragment whose lines stay lines.
QString FragmentOf(const QString& post)
{
    QString html = ConvertYbbToHtml(post);
    const QStringView quote = markup::Toolbar(markup::ToolbarForm::Quote).text;
    const QStringView unquote = markup::Toolbar(markup::ToolbarForm::Quote).closing;
    html.replace(ReplacementOf(quote).toString(), u"<blockquote>"_s);
    html.replace(ReplacementOf(unquote).toString(), u"</blockquote>"_s);
    // Qt's import keeps a division's alignment on the lines after it; a
    // paragraph's it does not. (Left is where the lines are anyway.)
    const markup::TagButton& right = markup::Toolbar(markup::ToolbarForm::Right);
    html.replace(ReplacementOf(right.text).toString(), u"<p align=right>"_s);
    html.replace(ReplacementOf(right.closing).toString(), u"</p>"_s);
    return u"<div style=\"white-space: pre-wrap\">"_s + html + u"</div>"_s;
}

// The text alone, lines as the page shows them.
class PlainWriter final : public MarkupWriter {
public:
    void open(Form form, QStringView) override
    {
        // Each item of a list on a line of its own.
        if (form == Form::Item && !m_out.isEmpty() && !m_out.endsWith(u'\n')) m_out += u'\n';
    }
    void close(Form, QStringView) override {}
    void text(QStringView text) override { m_out += text; }
    void lineBreak() override { m_out += u'\n'; }
    void cellBreak() override { m_out += u'\t'; }
    void picture(QStringView) override {}
    void rule() override {}
    qsizetype size() const override { return m_out.size(); }
    QString result() override { return m_out; }

private:
    QString m_out;
};

std::unique_ptr<MarkupWriter> WriterFor(Dialect dialect)
{
    switch (dialect) {
        case Dialect::BBCode:
            return MakeBBCodeWriter();
        case Dialect::Discuz:
            return MakeDiscuzWriter();
        case Dialect::Markdown:
            break;
    }
    return MakeMarkdownWriter();
}

// Whether a block of the page (a quotation, code, a list, a rule, an aligned
// line) ends just before the line break at `at` or starts just after it:
// the lines around a block are read apart from it.
bool AtBlock(QStringView post, qsizetype at)
{
    using markup::ToolbarForm;
    const QStringView before = post.first(at);
    const QStringView after = post.sliced(at + 1);
    for (const ToolbarForm form : {ToolbarForm::Left, ToolbarForm::Centre, ToolbarForm::Right,
                                   ToolbarForm::Rule, ToolbarForm::Code, ToolbarForm::Quote}) {
        const markup::TagButton& button = markup::Toolbar(form);
        if (before.endsWith(button.closing.isEmpty() ? button.text : button.closing) ||
            after.startsWith(button.text))
            return true;
    }
    return before.endsWith(markup::kListClose) || after.startsWith(markup::kListOpen);
}

// Where a long post can be cut so that its parts, written apart and joined
// by a line break, read as the whole does: between two lines of text, with
// no tag of the converter open across the cut and no HTML of the post's own
// before it. Qt's import of a whole long post takes memory many times its
// size.
QList<QStringView> PartsOf(QStringView post, qsizetype partChars)
{
    if (post.size() < 2 * partChars) return {post};
    QList<QStringView> parts;
    std::vector<int> open(std::size_t(scan::KindCount()), 0);
    int opened = 0;  // tags open, of all kinds
    scan::Scanner scanner(post);
    scan::Tag tag;
    qsizetype from = 0;
    const qsizetype html = post.indexOf(u'<');
    const qsizetype lastCut = std::min(html < 0 ? post.size() : html, post.size() - 1);
    bool more = scanner.next(tag);
    for (qsizetype cut = post.indexOf(u'\n', from + partChars); cut > 0 && cut < lastCut;
         cut = post.indexOf(u'\n', std::max(cut + 1, from + partChars))) {
        for (; more && tag.start < cut; more = scanner.next(tag)) {
            if (tag.role == scan::Role::Single || tag.flaw != scan::Flaw::None) continue;
            int& count = open[std::size_t(tag.kind)];
            const int before = count;
            count = std::max(0, count + (tag.role == scan::Role::Opener ? 1 : -1));
            opened += count - before;
        }
        if (opened > 0 || post[cut - 1] == u'\n' || post[cut + 1] == u'\n' || AtBlock(post, cut))
            continue;
        parts.append(post.sliced(from, cut - from));
        from = cut + 1;
    }
    parts.append(post.sliced(from));
    return parts;
}

}  // namespace

ExportedPost ExportPost(const QString& post, Dialect dialect, qsizetype partChars)
{
    ExportedPost exported;
    std::array<int, kForms> dropped = {};
    bool first = true;
    for (const QStringView part : PartsOf(post, partChars)) {
        DetachedDocument page;
        bool spacesKept = false;
        page.setHtml(WithSpacesKept(FragmentOf(part.toString()), &spacesKept));
        const auto writer = WriterFor(dialect);
        // No bound: every form writes a post in a few times its size.
        WriteAs(page, *writer, {.spacesKept = spacesKept});
        // The line break at the cut, as the form writes one between lines.
        if (!std::exchange(first, false))
            exported.text += dialect == Dialect::Markdown ? u"\\\n"_s : u"\n"_s;
        exported.text += writer->result();
        for (int form = 0; form < kForms; ++form)
            dropped[std::size_t(form)] += writer->dropped(Form(form));
    }
    QStringList said;
    for (int form = 0; form < kForms; ++form)
        if (const int count = dropped[std::size_t(form)])
            said.append(u"%1 %2 處"_s.arg(kFormNames[std::size_t(form)]).arg(count));
    exported.dropped = said.join(u"、"_s);
    return exported;
}

RichPost RichTextOf(const QString& post)
{
    RichPost rich;
    rich.html = FragmentOf(post);
    DetachedDocument page;
    bool spacesKept = false;
    page.setHtml(WithSpacesKept(rich.html, &spacesKept));
    PlainWriter plain;
    WriteAs(page, plain, {.spacesKept = spacesKept});
    rich.plain = plain.result();
    return rich;
}

QString DialectName(Dialect dialect)
{
    switch (dialect) {
        case Dialect::BBCode:
            return u"BBCode"_s;
        case Dialect::Discuz:
            return u"Discuz!"_s;
        case Dialect::Markdown:
            break;
    }
    return u"Markdown"_s;
}

}  // namespace convert
