// BBCode as the boards read it: phpBB's forms (most boards take them) and
// Discuz!'s. Each board is one table; a board that lacks a tag leaves its
// row empty, and its text is written plain.
#include <array>
#include <initializer_list>
#include <utility>

#include "convert/markup_writers.h"

using namespace Qt::Literals::StringLiterals;

namespace convert {

namespace {

struct Row {
    QStringView open;  // "%1" stands for the value; empty: the board lacks it
    QStringView close;
};

struct Board {
    std::array<Row, kForms> rows;
    // The seven HTML sizes as the board's size tag takes them.
    std::array<QStringView, 7> sizes;
};

constexpr Row At(const Board& board, Form form)
{
    return board.rows[std::size_t(form)];
}

// In the order of Form.
constexpr Board kPhpBB = {
    {{
        {u"[b]", u"[/b]"},
        {u"[i]", u"[/i]"},
        {u"[u]", u"[/u]"},
        {u"[s]", u"[/s]"},
        {u"[url=%1]", u"[/url]"},
        {u"[email=%1]", u"[/email]"},
        {u"[img]%1[/img]", {}},
        {u"[quote]", u"[/quote]"},
        {u"[code]", u"[/code]"},
        {u"[list]", u"[/list]"},
        {u"[*]", {}},
        {u"[left]", u"[/left]"},
        {u"[center]", u"[/center]"},
        {u"[right]", u"[/right]"},
        {u"[hr]", {}},
        {u"[font=%1]", u"[/font]"},
        {u"[size=%1]", u"[/size]"},
        {u"[color=%1]", u"[/color]"},
    }},
    // Percentages, within the 200 most boards allow.
    {u"50", u"85", u"100", u"125", u"150", u"175", u"200"},
};

// A board that reads another board's forms but a few: its table is the
// other's with those rows and its sizes of its own.
constexpr Board Derived(Board board, std::initializer_list<std::pair<Form, Row>> rows,
                        std::array<QStringView, 7> sizes)
{
    for (const auto& [form, row] : rows) board.rows[std::size_t(form)] = row;
    board.sizes = sizes;
    return board;
}

constexpr Board kDiscuz = Derived(kPhpBB,
                                  {
                                      {Form::Left, {u"[align=left]", u"[/align]"}},
                                      {Form::Centre, {u"[align=center]", u"[/align]"}},
                                      {Form::Right, {u"[align=right]", u"[/align]"}},
                                  },
                                  {u"1", u"2", u"3", u"4", u"5", u"6", u"7"});

bool IsInline(Form form)
{
    return form != Form::Quote && form != Form::Code && form != Form::List && form != Form::Item &&
           form != Form::Left && form != Form::Centre && form != Form::Right;
}

// A value as it can stand after "=" or between tags: no bracket, and no line
// break; an address keeps its meaning percent-encoded.
QString Value(Form form, QStringView given)
{
    QString value = given.toString();
    value.remove(u'\n').remove(u'\r').remove(QChar::LineSeparator);
    if (form == Form::Link || form == Form::Mail || form == Form::Picture)
        return value.replace(u'[', u"%5B"_s).replace(u']', u"%5D"_s).replace(u' ', u"%20"_s);
    return value.remove(u'[').remove(u']');
}

class BBCodeWriter final : public MarkupWriter {
public:
    explicit BBCodeWriter(const Board& board) : m_board(board) {}

    void open(Form form, QStringView value) override
    {
        if (form == Form::Code) ++m_code;
        if (!shows(form)) return;
        write(At(m_board, form).open, form, value);
    }

    void close(Form form, QStringView value) override
    {
        if (form == Form::Code) --m_code;
        if (!shows(form, false)) return;
        write(At(m_board, form).close, form, value);
    }

    void text(QStringView text) override { m_out += text; }
    void lineBreak() override { m_out += u'\n'; }
    void cellBreak() override { m_out += u'\t'; }
    void picture(QStringView address) override
    {
        // Inside a code block the board shows tags as they are.
        if (m_code > 0) {
            drop(Form::Picture);
            m_out += address;
            return;
        }
        write(At(m_board, Form::Picture).open, Form::Picture, address);
    }
    void rule() override { m_out += At(m_board, Form::Rule).open; }
    qsizetype size() const override { return m_out.size(); }
    QString result() override { return m_out; }

private:
    // Whether the board shows the form here; counts it once where not.
    bool shows(Form form, bool opening = true)
    {
        const bool lacking = At(m_board, form).open.isEmpty() || (m_code > 0 && IsInline(form));
        if (lacking && opening) drop(form);
        return !lacking;
    }

    void write(QStringView pattern, Form form, QStringView value)
    {
        if (pattern.isEmpty()) return;
        const qsizetype slot = pattern.indexOf(u"%1");
        if (slot < 0) {
            m_out += pattern;
            return;
        }
        const int size = form == Form::Size ? value.toInt() : 0;
        m_out += pattern.first(slot);
        m_out += size >= 1 && size <= 7 ? m_board.sizes[std::size_t(size - 1)].toString()
                                        : Value(form, value);
        m_out += pattern.sliced(slot + 2);
    }

    const Board& m_board;
    QString m_out;
    int m_code = 0;  // inside code blocks
};

}  // namespace

std::unique_ptr<MarkupWriter> MakeBBCodeWriter()
{
    return std::make_unique<BBCodeWriter>(kPhpBB);
}

std::unique_ptr<MarkupWriter> MakeDiscuzWriter()
{
    return std::make_unique<BBCodeWriter>(kDiscuz);
}

}  // namespace convert
