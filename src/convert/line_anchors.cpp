#include "convert/line_anchors.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace convert {
namespace {

// Elements whose text the browser reads up to their end tag without looking
// for markup. Inside an svg or math element these are ordinary elements; a
// mark left out there costs nothing. A script's text never shows (scripts
// are off), so where its end is unclear a mark inside it is harmless.
bool IsRawTextElement(QStringView name)
{
    static const QStringList names = {u"script"_s,  u"style"_s,    u"textarea"_s,
                                      u"title"_s,   u"xmp"_s,      u"iframe"_s,
                                      u"noembed"_s, u"noframes"_s, u"noscript"_s};
    return names.contains(name);
}

bool IsAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool IsTagSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

// Where the browser's tokenizer is, as far as marks are concerned: between
// tags, or somewhere inside one.
enum class State {
    Data,
    TagOpen,
    EndTagOpen,
    TagName,
    BeforeAttributeName,
    AttributeName,
    AfterAttributeName,
    BeforeAttributeValue,
    DoubleQuotedValue,
    SingleQuotedValue,
    UnquotedValue,
    AfterQuotedValue,
    SelfClosing,
};

class Marker {
public:
    Marker(QStringView html, int step) : m_html(html), m_step(std::max(step, 1))
    {
        m_out.reserve(html.size() + html.size() / 4);
    }

    QString run()
    {
        while (m_at < m_html.size()) step();
        return std::move(m_out);
    }

private:
    QChar at(qsizetype i) const { return i < m_html.size() ? m_html[i] : QChar(); }

    // Copies up to `end` (exclusive) without marking its lines.
    void pass(qsizetype end)
    {
        end = std::min(end, m_html.size());
        const QStringView part = m_html.sliced(m_at, end - m_at);
        m_line += part.count(u'\n');
        m_out.append(part);
        m_at = end;
    }

    void step()
    {
        const QChar c = m_html[m_at];
        switch (m_state) {
            case State::Data:
                if (c == u'<') {
                    if (enterMarkup()) return;
                    take(c);
                    m_state = State::TagOpen;
                } else if (c == u'\n') {
                    take(c);
                } else {
                    passText();
                }
                return;
            case State::TagOpen:
                if (c != u'/' && !IsAsciiLetter(c)) {
                    m_state = State::Data;  // a lone "<" is text; read c again as text
                    return;
                }
                break;
            case State::EndTagOpen:
                if (c != u'>' && !IsAsciiLetter(c)) {
                    // "</" and anything else is a comment up to ">".
                    const qsizetype close = m_html.sliced(m_at).indexOf(u'>');
                    pass(close < 0 ? m_html.size() : m_at + close + 1);
                    m_state = State::Data;
                    return;
                }
                break;
            default:
                break;
        }
        take(c);
        advance(c);
    }

    // Copies the text up to the next "<" or line break at once.
    void passText()
    {
        qsizetype end = m_at;
        while (end < m_html.size() && m_html[end] != u'<' && m_html[end] != u'\n') ++end;
        m_out.append(m_html.sliced(m_at, end - m_at));
        m_at = end;
    }

    void take(QChar c)
    {
        m_out.append(c);
        ++m_at;
        if (c != u'\n') return;
        ++m_line;
        if (m_line % m_step == 0 && m_state == State::Data && m_tables == 0 && !m_rawRest)
            m_out.append(u"<qp-l id=%1%2></qp-l>"_s.arg(kLineAnchorPrefix).arg(m_line));
    }

    // At a "<" between tags: comments and their kin are passed over whole;
    // true when that was done.
    bool enterMarkup()
    {
        const QStringView rest = m_html.sliced(m_at);
        qsizetype end = -1;
        if (rest.startsWith(u"<!--")) {
            // "<!-->" and "<!--->" end at once; otherwise at "-->" or "--!>".
            if (rest.sliced(4).startsWith(u'>')) {
                end = 5;
            } else if (rest.sliced(4).startsWith(u"->")) {
                end = 6;
            } else {
                for (qsizetype q = rest.indexOf(u"--", 4); q >= 0; q = rest.indexOf(u"--", q + 1)) {
                    if (at(m_at + q + 2) == u'>') {
                        end = q + 3;
                        break;
                    }
                    if (at(m_at + q + 2) == u'!' && at(m_at + q + 3) == u'>') {
                        end = q + 4;
                        break;
                    }
                }
            }
        } else if (rest.startsWith(u"<![CDATA[")) {
            // A section in svg or math, a comment up to the first ">"
            // elsewhere; its end is the later of the two.
            const qsizetype close = rest.indexOf(u"]]>");
            end = close < 0 ? -1 : close + 3;
        } else if (rest.startsWith(u"<!") || rest.startsWith(u"<?")) {
            const qsizetype close = rest.indexOf(u'>');
            end = close < 0 ? -1 : close + 1;
        } else {
            return false;
        }
        // Unclosed, it runs to the end of the page: no more marks.
        pass(end < 0 ? m_html.size() : m_at + end);
        return true;
    }

    void advance(QChar c)
    {
        switch (m_state) {
            case State::Data:
                break;
            case State::TagOpen:
                if (c == u'/') {
                    m_state = State::EndTagOpen;
                } else {
                    m_endTag = false;
                    m_name = c.toLower();
                    m_state = State::TagName;
                }
                break;
            case State::EndTagOpen:
                if (c == u'>') {
                    m_state = State::Data;
                } else {
                    m_endTag = true;
                    m_name = c.toLower();
                    m_state = State::TagName;
                }
                break;
            case State::TagName:
                if (IsTagSpace(c))
                    m_state = State::BeforeAttributeName;
                else if (c == u'/')
                    m_state = State::SelfClosing;
                else if (c == u'>')
                    endTag();
                else
                    m_name.append(c.toLower());
                break;
            case State::BeforeAttributeName:
                if (c == u'/')
                    m_state = State::SelfClosing;
                else if (c == u'>')
                    endTag();
                else if (!IsTagSpace(c))
                    m_state = State::AttributeName;  // "=" here starts a name too
                break;
            case State::AttributeName:
                if (IsTagSpace(c))
                    m_state = State::AfterAttributeName;
                else if (c == u'/')
                    m_state = State::SelfClosing;
                else if (c == u'=')
                    m_state = State::BeforeAttributeValue;
                else if (c == u'>')
                    endTag();
                break;
            case State::AfterAttributeName:
                if (c == u'/')
                    m_state = State::SelfClosing;
                else if (c == u'=')
                    m_state = State::BeforeAttributeValue;
                else if (c == u'>')
                    endTag();
                else if (!IsTagSpace(c))
                    m_state = State::AttributeName;
                break;
            case State::BeforeAttributeValue:
                if (c == u'"')
                    m_state = State::DoubleQuotedValue;
                else if (c == u'\'')
                    m_state = State::SingleQuotedValue;
                else if (c == u'>')
                    endTag();
                else if (!IsTagSpace(c))
                    m_state = State::UnquotedValue;
                break;
            case State::DoubleQuotedValue:
                if (c == u'"') m_state = State::AfterQuotedValue;
                break;
            case State::SingleQuotedValue:
                if (c == u'\'') m_state = State::AfterQuotedValue;
                break;
            case State::UnquotedValue:
                if (IsTagSpace(c))
                    m_state = State::BeforeAttributeName;
                else if (c == u'>')
                    endTag();
                break;
            case State::AfterQuotedValue:
                if (IsTagSpace(c))
                    m_state = State::BeforeAttributeName;
                else if (c == u'/')
                    m_state = State::SelfClosing;
                else if (c == u'>')
                    endTag();
                else
                    m_state = State::AttributeName;
                break;
            case State::SelfClosing:
                if (c == u'>')
                    endTag();
                else if (!IsTagSpace(c))
                    m_state = State::AttributeName;
                else
                    m_state = State::BeforeAttributeName;
                break;
        }
    }

    void endTag()
    {
        m_state = State::Data;
        if (m_name == u"table") {
            if (!m_endTag)
                ++m_tables;
            else if (m_tables > 0)
                --m_tables;
            return;
        }
        if (m_endTag) return;
        if (m_name == u"plaintext") {
            m_rawRest = true;  // everything after it is text
        } else if (IsRawTextElement(m_name)) {
            skipRawText();
        }
    }

    // Passes over a raw-text element's text up to its end tag, "</" and the
    // name in any case followed by a space, "/" or ">".
    void skipRawText()
    {
        const QString close = u"</"_s + m_name;
        for (qsizetype q = m_html.sliced(m_at).indexOf(close, 0, Qt::CaseInsensitive); q >= 0;
             q = m_html.sliced(m_at).indexOf(close, q + 1, Qt::CaseInsensitive)) {
            const QChar next = at(m_at + q + close.size());
            if (IsTagSpace(next) || next == u'/' || next == u'>') {
                pass(m_at + q);
                return;
            }
        }
        pass(m_html.size());
    }

    QStringView m_html;
    int m_step;
    QString m_out;
    qsizetype m_at = 0;
    int m_line = 0;
    State m_state = State::Data;
    QString m_name;
    bool m_endTag = false;
    int m_tables = 0;
    bool m_rawRest = false;
};

}  // namespace

QString WithLineAnchors(QStringView html, int step)
{
    return Marker(html, step).run();
}

}  // namespace convert
