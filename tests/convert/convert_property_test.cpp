// Random mixtures of tags, brackets, spaces, quotes and CJK text, checked
// against plain restatements of what the two routines must do.
#include <gtest/gtest.h>

#include "qstring_printer.h"

#include <QRegularExpression>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "convert/html_strip.h"
#include "convert/ybb_to_html.h"

namespace {

std::u16string Utf16(const char* utf8)
{
    const QString s = QString::fromUtf8(utf8);
    return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), s.size());
}

QString ToQString(const std::u16string& s)
{
    return QString(reinterpret_cast<const QChar*>(s.data()), qsizetype(s.size()));
}

// The markup table, written out a second time and in another form, so that a
// slip in either copy shows up as a difference.
const std::vector<std::pair<std::u16string, std::u16string>>& ReferenceTable()
{
    static const std::vector<std::pair<std::u16string, std::u16string>> table = [] {
        const char* rows[][2] = {
            {R"([b])", R"(<b>)"},
            {R"([/b])", R"(</b>)"},
            {R"([i])", R"(<i>)"},
            {R"([/i])", R"(</i>)"},
            {R"([u])", R"(<u>)"},
            {R"([/u])", R"(</u>)"},
            {R"([s])", R"(<s>)"},
            {R"([/s])", R"(</s>)"},
            {R"([left])", R"(<div align="left">)"},
            {R"([/left])", R"(</div id="left">)"},
            {R"([center])", R"(<center>)"},
            {R"([/center])", R"(</center>)"},
            {R"([right])", R"(<div align=right>)"},
            {R"([/right])", R"(</div id=right>)"},
            {R"([hr])", R"(<hr noshade size="1">)"},
            {R"([url=")", R"(<a href=")"},
            {R"("])", R"(">)"},
            {R"([/url])", R"(</a>)"},
            {R"([img])", R"(<img src=")"},
            {R"([/img])", R"(">)"},
            {R"([code])", R"(<pre id="code">)"},
            {R"([/code])", R"(</pre id="code">)"},
            {R"([quote])",
             R"(<blockquote id="quote"><font id="quote" size="2">引言:</font><hr height="1" noshade id="quote"><br/>)"},
            {R"([/quote])", R"(<br/><hr height="1" noshade id="quote"></blockquote id="quote">)"},
            {R"([list])", R"(<ul>)"},
            {R"([/list])", R"(</ul>)"},
            {R"([*])", R"(<li>)"},
            {R"([/*])", R"(</li>)"},
            {R"([font=)", R"(<font face=")"},
            {R"(] )", R"(">)"},
            {R"([/font=)", R"(</font id=")"},
            {R"([size=)", R"(<font size=")"},
            {R"([/size=)", R"(</font id=")"},
            {R"( [)", R"(<font color=")"},
            {R"([/)", R"(</font id=")"},
        };
        std::vector<std::pair<std::u16string, std::u16string>> out;
        for (const auto& row : rows) out.emplace_back(Utf16(row[0]), Utf16(row[1]));
        return out;
    }();
    return table;
}

std::u16string ReferenceConvert(std::u16string text)
{
    for (const auto& [search, replacement] : ReferenceTable()) {
        std::u16string out;
        std::size_t start = 0;
        for (std::size_t hit; (hit = text.find(search, start)) != std::u16string::npos;
             start = hit + search.size())
            out += text.substr(start, hit - start) + replacement;
        out += text.substr(start);
        text = std::move(out);
    }
    return text;
}

QString ReferenceStrip(const QString& text)
{
    // A tag is a "<", anything but ">", and a ">"; an unclosed "<" matches
    // nothing and stays.
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    return QString(text).remove(tag);
}

class Mixer {
public:
    explicit Mixer(unsigned seed) : m_random(seed)
    {
        for (const auto& row : ReferenceTable()) m_pieces.push_back(ToQString(row.first));
        for (const char* piece :
             {"[",     "]", "/",     " ",     "  ",    "\"",    "=",   "*",    "<",   ">",
              "a",     "Z", "red",   "Arial", "3",     "\r\n",  "\n",  "他也", "久/", "來",
              "引言:", "😀", "&amp;", "[B]",   "[/B] ", "[url=", "] [", "\"] "})
            m_pieces.push_back(QString::fromUtf8(piece));
    }

    QString next()
    {
        std::uniform_int_distribution<int> length(0, 24);
        std::uniform_int_distribution<std::size_t> pick(0, m_pieces.size() - 1);
        QString text;
        for (int n = length(m_random); n > 0; --n) text += m_pieces[pick(m_random)];
        return text;
    }

private:
    std::mt19937 m_random;
    std::vector<QString> m_pieces;
};

TEST(ConvertYbbToHtml, AgreesWithSequentialReplaceAllsOnRandomMixtures)
{
    Mixer mixer(20240611);
    for (int i = 0; i < 2000; ++i) {
        const QString text = mixer.next();
        const std::u16string plain(reinterpret_cast<const char16_t*>(text.utf16()), text.size());
        ASSERT_EQ(convert::ConvertYbbToHtml(text), ToQString(ReferenceConvert(plain)))
            << "input: " << text.toStdString();
    }
}

// The start of a conversion, made without the rest: the whole conversion's
// first characters, as many as asked for or all there are.
TEST(ConvertYbbToHtml, ItsStartIsTheWholeConversionCutShort)
{
    Mixer mixer(31);
    for (int i = 0; i < 2000; ++i) {
        const QString text = mixer.next();
        const QString whole = convert::ConvertYbbToHtml(text);
        const qsizetype wanted = i % 40;
        const QString start = convert::ConvertYbbToHtmlStart(text, wanted);
        ASSERT_TRUE(whole.startsWith(start) && start.size() >= qMin(wanted, whole.size()))
            << "input: " << text.toStdString() << ", " << wanted;
    }
}

TEST(StripHtmlTags, AgreesWithItsDefinitionOnRandomMixtures)
{
    Mixer mixer(7);
    for (int i = 0; i < 2000; ++i) {
        const QString text = mixer.next();
        ASSERT_EQ(convert::StripHtmlTags(text), ReferenceStrip(text))
            << "input: " << text.toStdString();
        // Converted markup is full of tags; strip that as well.
        const QString html = convert::ConvertYbbToHtml(text);
        ASSERT_EQ(convert::StripHtmlTags(html), ReferenceStrip(html))
            << "input: " << html.toStdString();
    }
}

}  // namespace
