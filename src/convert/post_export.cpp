#include "convert/post_export.h"

#include <QStringList>
#include <array>
#include <limits>

#include "convert/markup_writers.h"
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
    void open(Form, QStringView) override {}
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

}  // namespace

ExportedPost ExportPost(const QString& post, Dialect dialect)
{
    DetachedDocument page;
    page.setHtml(WithSpacesKept(FragmentOf(post)));
    const auto writer = WriterFor(dialect);
    // No bound: every form writes a post in a few times its size.
    WriteAs(page, *writer, std::numeric_limits<qsizetype>::max(), false);
    ExportedPost exported{writer->result(), {}};
    QStringList dropped;
    for (int form = 0; form < kForms; ++form)
        if (const int count = writer->dropped(Form(form)))
            dropped.append(u"%1 %2 處"_s.arg(kFormNames[std::size_t(form)]).arg(count));
    exported.dropped = dropped.join(u"、"_s);
    return exported;
}

RichPost RichTextOf(const QString& post)
{
    RichPost rich;
    rich.html = FragmentOf(post);
    DetachedDocument page;
    page.setHtml(WithSpacesKept(rich.html));
    PlainWriter plain;
    WriteAs(page, plain, std::numeric_limits<qsizetype>::max(), false);
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
