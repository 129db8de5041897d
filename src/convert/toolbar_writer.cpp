// The forms the toolbars and the font bar write.
#include "convert/markup_writers.h"
#include "markup/tag_table.h"

using namespace Qt::Literals::StringLiterals;

namespace convert {

namespace {

constexpr qsizetype kLongestFace = 64;

// A value as it can stand inside a tag: no line break, no bracket, and no
// double quote that would end a link's address early.
QString TagValue(QStringView given, bool address)
{
    QString value = given.toString();
    value.remove(u'\n')
        .remove(u'\r')
        .remove(QChar::LineSeparator)
        .remove(QChar::ParagraphSeparator);
    if (address)
        return value.replace(u'"', u"%22"_s).replace(u'[', u"%5B"_s).replace(u']', u"%5D"_s);
    return value.remove(u'[').remove(u']').left(kLongestFace);
}

markup::ToolbarForm ToolbarFormOf(Form form)
{
    switch (form) {
        case Form::Bold:
            return markup::ToolbarForm::Bold;
        case Form::Italic:
            return markup::ToolbarForm::Italic;
        case Form::Underline:
            return markup::ToolbarForm::Underline;
        case Form::Strike:
            return markup::ToolbarForm::Strike;
        case Form::Left:
            return markup::ToolbarForm::Left;
        case Form::Centre:
            return markup::ToolbarForm::Centre;
        case Form::Right:
            return markup::ToolbarForm::Right;
        case Form::Quote:
            return markup::ToolbarForm::Quote;
        default:
            return markup::ToolbarForm::Code;
    }
}

class ToolbarWriter final : public MarkupWriter {
public:
    void open(Form form, QStringView value) override
    {
        switch (form) {
            case Form::Link:
                write(markup::kLinkOpen, TagValue(value, true), markup::kLinkMiddle);
                return;
            case Form::Mail:
                write(markup::kLinkOpen, markup::kMailScheme, TagValue(value, true),
                      markup::kLinkMiddle);
                return;
            case Form::Face:
                write(markup::FaceTags(TagValue(value, false)).opening);
                return;
            case Form::Size:
                write(markup::SizeTags(value.toString()).opening);
                return;
            case Form::Colour:
                write(markup::ColourTags(TagValue(value, false)).opening);
                return;
            case Form::List:
                write(markup::kListOpen);
                return;
            case Form::Item:
                write(markup::kItemOpen);
                return;
            default:
                write(markup::Toolbar(ToolbarFormOf(form)).text);
        }
    }

    void close(Form form, QStringView value) override
    {
        switch (form) {
            case Form::Link:
            case Form::Mail:
                write(markup::kLinkClose);
                return;
            case Form::Face:
                write(markup::FaceTags(TagValue(value, false)).closing);
                return;
            case Form::Size:
                write(markup::SizeTags(value.toString()).closing);
                return;
            case Form::Colour: {
                // A colour closer after a space would be read as an opener:
                // the spaces at the end of its text go after it.
                qsizetype spaces = 0;
                while (m_out.size() - spaces > m_textFrom &&
                       m_out[m_out.size() - spaces - 1] == u' ')
                    ++spaces;
                m_out.chop(spaces);
                write(markup::ColourTags(TagValue(value, false)).closing);
                m_out += QString(spaces, u' ');
                return;
            }
            case Form::List:
                write(markup::kListClose);
                return;
            case Form::Item:
                write(markup::kItemClose);
                return;
            default:
                write(markup::Toolbar(ToolbarFormOf(form)).closing);
        }
    }

    void text(QStringView text) override { m_out += text; }
    void lineBreak() override { m_out += u'\n'; }
    void cellBreak() override { m_out += u'\t'; }
    void picture(QStringView address) override
    {
        write(markup::kPictureOpen, TagValue(address, true), markup::kPictureClose);
    }
    void rule() override { write(markup::Toolbar(markup::ToolbarForm::Rule).text); }
    qsizetype size() const override { return m_out.size(); }
    QString result() override { return m_out; }

private:
    template <typename... Parts>
    void write(const Parts&... parts)
    {
        (m_out.append(parts), ...);
        m_textFrom = m_out.size();
    }

    QString m_out;
    qsizetype m_textFrom = 0;  // the text after the last tag written starts here
};

}  // namespace

std::unique_ptr<MarkupWriter> MakeToolbarWriter()
{
    return std::make_unique<ToolbarWriter>();
}

}  // namespace convert
