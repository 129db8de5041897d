#include "convert/html_to_markup.h"

#include <QColor>
#include <QList>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QTextList>
#include <QUrl>
#include <QVariant>
#include <array>
#include <cmath>

#include "markup/tag_table.h"

using namespace Qt::Literals::StringLiterals;

namespace convert {

namespace {

// Markup longer than this many times the HTML (and a little) is given up.
constexpr qsizetype kGrowth = 8;
constexpr qsizetype kSlack = 1024;
constexpr qsizetype kLongestFace = 64;

// A document that loads nothing its HTML refers to: no style sheets, no
// pictures, no local files.
class DetachedDocument final : public QTextDocument {
protected:
    QVariant loadResource(int, const QUrl&) override { return {}; }
};

const markup::TagButton& Button(int number)
{
    return markup::TagButtonNamed(u"SpeedButton%1"_s.arg(number));
}

// Inline formatting, in the order the tags nest, outermost first: the tags
// with values outside, so that switching bold on and off inside a face
// does not write the face again.
enum class Inline { Link, Face, Size, Colour, Bold, Italic, Underline, Strike };

struct Tag {
    Inline kind;
    QString value;
    bool operator==(const Tag&) const = default;
};

markup::TagPair TagsOf(const Tag& tag)
{
    switch (tag.kind) {
        case Inline::Link: {
            const markup::TagButton& link = Button(9);
            // An e-mail link as the e-mail button writes it.
            const QStringView mail = Button(10).inner[0];
            const QStringView scheme = mail.sliced(link.inner[0].size());  // "mailto:"
            const QString opener = tag.value.startsWith(scheme)
                                       ? mail.toString() + tag.value.sliced(scheme.size())
                                       : link.inner[0].toString() + tag.value;
            return {opener + link.inner[1].toString(), link.inner[2].toString()};
        }
        case Inline::Face:
            return markup::FaceTags(tag.value);
        case Inline::Size:
            return markup::SizeTags(tag.value);
        case Inline::Colour:
            return markup::ColourTags(tag.value);
        default: {
            const markup::TagButton& button = Button(1 + int(tag.kind) - int(Inline::Bold));
            return {button.text.toString(), button.closing.toString()};
        }
    }
}

// The colour box's name of an RGB colour, or "#rrggbb".
QString ColourName(const QColor& colour)
{
    for (const QStringView name : markup::kColourNames)
        if (QColor::fromString(name).rgb() == colour.rgb()) return name.toString();
    return colour.name(QColor::HexRgb);
}

// HTML size 1 to 7 of a format; 0 where it sets none.
int HtmlSize(const QTextCharFormat& format)
{
    // The sizes in CSS pixels that browsers give the seven HTML sizes.
    static constexpr std::array<double, 7> kPixels = {10, 13, 16, 18, 24, 32, 48};
    double pixels = 0;
    if (format.hasProperty(QTextFormat::FontSizeAdjustment))
        return qBound(1, 3 + format.intProperty(QTextFormat::FontSizeAdjustment), 7);
    if (format.hasProperty(QTextFormat::FontPixelSize))
        pixels = format.intProperty(QTextFormat::FontPixelSize);
    else if (format.hasProperty(QTextFormat::FontPointSize))
        pixels = format.doubleProperty(QTextFormat::FontPointSize) * 96 / 72;
    if (pixels <= 0) return 0;
    int nearest = 0;
    for (int i = 1; i < int(kPixels.size()); ++i)
        if (std::abs(kPixels[i] - pixels) < std::abs(kPixels[nearest] - pixels)) nearest = i;
    return nearest + 1;
}

bool Generic(const QString& family)
{
    static const QStringList kGeneric = {u"serif"_s,   u"sans-serif"_s, u"monospace"_s,
                                         u"cursive"_s, u"fantasy"_s,    u"system-ui"_s};
    return kGeneric.contains(family.trimmed(), Qt::CaseInsensitive);
}

// A value as it can stand inside a tag: no line break, no bracket, and no
// double quote that would end a link's address early.
QString TagValue(QString value, bool address)
{
    value.remove(u'\n')
        .remove(u'\r')
        .remove(QChar::LineSeparator)
        .remove(QChar::ParagraphSeparator);
    if (address)
        return value.replace(u'"', u"%22"_s).replace(u'[', u"%5B"_s).replace(u']', u"%5D"_s);
    return value.remove(u'[').remove(u']').left(kLongestFace);
}

class Writer {
public:
    explicit Writer(const QTextDocument& document)
        : m_defaultFamily(document.defaultFont().family())
    {
    }

    void block(const QTextBlock& block)
    {
        const QTextBlockFormat format = block.blockFormat();
        const int quotes = qMax(0, format.intProperty(QTextFormat::BlockQuoteLevel));
        const bool code = format.nonBreakableLines();
        QTextList* const list = block.textList();
        // Containers that end close on the line before; a list stays on
        // one line, as the list button writes it.
        const bool sameList = list && list == m_list && code == m_code && quotes == m_quotes;
        if (!sameList && m_list) write(Button(14).inner[3]);
        if (m_code && (code != m_code || quotes != m_quotes)) write(Button(12).closing);
        for (int level = m_quotes; level > quotes; --level) write(Button(13).closing);
        if (m_started && !sameList) m_out += u'\n';
        m_started = true;
        for (int level = m_quotes; level < quotes; ++level) write(Button(13).text);
        if (code && (code != m_code || quotes != m_quotes)) write(Button(12).text);
        if (list && !sameList) write(Button(14).inner[0]);
        m_quotes = quotes;
        m_code = code;
        m_list = list;

        if (format.hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth)) {
            write(Button(8).text);
            return;
        }
        if (list) write(Button(14).inner[1]);
        // Right is also the trailing side of left-to-right text.
        const Qt::Alignment alignment = format.alignment();
        const int aligned = alignment & Qt::AlignHCenter ? 6 : alignment & Qt::AlignRight ? 7 : 0;
        if (aligned) write(Button(aligned).text);
        for (auto it = block.begin(); !it.atEnd(); ++it) fragment(it.fragment());
        setOpen({});
        if (aligned) write(Button(aligned).closing);
        if (list) write(Button(14).inner[2]);
    }

    QString finish()
    {
        if (m_list) write(Button(14).inner[3]);
        if (m_code) write(Button(12).closing);
        for (; m_quotes > 0; --m_quotes) write(Button(13).closing);
        return m_out;
    }

    qsizetype size() const { return m_out.size(); }

private:
    void write(QStringView tag)
    {
        m_out += tag;
        m_textFrom = m_out.size();
    }

    void fragment(const QTextFragment& fragment)
    {
        const QTextCharFormat format = fragment.charFormat();
        setOpen(tagsOf(format));
        const QString text = fragment.text();
        if (format.isImageFormat()) {
            const QString name = TagValue(format.toImageFormat().name(), true);
            for (qsizetype i = 0; i < text.size(); ++i) {
                if (text[i] != QChar::ObjectReplacementCharacter) continue;
                write(Button(11).inner[0]);
                write(name);
                write(Button(11).inner[1]);
            }
            return;
        }
        for (const QChar c : text) {
            if (c == QChar::LineSeparator)
                m_out += u'\n';
            else if (c != QChar::ObjectReplacementCharacter)
                m_out += c;
        }
    }

    QList<Tag> tagsOf(const QTextCharFormat& format) const
    {
        QList<Tag> tags;
        const bool link = format.isAnchor() && !format.anchorHref().isEmpty();
        if (link) tags.append({Inline::Link, TagValue(format.anchorHref(), true)});
        const QStringList families = format.fontFamilies().toStringList();
        if (!families.isEmpty() && !Generic(families.first()) &&
            families.first().compare(m_defaultFamily, Qt::CaseInsensitive) != 0) {
            const QString face = TagValue(families.first().trimmed(), false);
            if (!face.isEmpty()) tags.append({Inline::Face, face});
        }
        if (const int size = HtmlSize(format); size != 0 && size != 3)
            tags.append({Inline::Size, QString::number(size)});
        // A link's own colour and underline are the import's, not the page's.
        if (format.hasProperty(QTextFormat::ForegroundBrush) && !link) {
            const QColor colour = format.foreground().color();
            if (colour.isValid() && colour.alpha() > 0 && colour.rgb() != qRgb(0, 0, 0))
                tags.append({Inline::Colour, ColourName(colour)});
        }
        if (format.fontWeight() >= QFont::DemiBold) tags.append({Inline::Bold, {}});
        if (format.fontItalic()) tags.append({Inline::Italic, {}});
        if (format.fontUnderline() && !link) tags.append({Inline::Underline, {}});
        if (format.fontStrikeOut()) tags.append({Inline::Strike, {}});
        return tags;
    }

    // Closes the open tags from the first one not wanted, and opens the rest.
    void setOpen(const QList<Tag>& wanted)
    {
        qsizetype keep = 0;
        while (keep < m_open.size() && keep < wanted.size() && m_open[keep] == wanted[keep]) ++keep;
        while (m_open.size() > keep) {
            const Tag tag = m_open.takeLast();
            const QString closing = TagsOf(tag).closing;
            if (tag.kind != Inline::Colour) {
                write(closing);
                continue;
            }
            // A colour closer after a space would be read as an opener: the
            // spaces at the end of its text go after it.
            qsizetype spaces = 0;
            while (m_out.size() - spaces > m_textFrom && m_out[m_out.size() - spaces - 1] == u' ')
                ++spaces;
            m_out.chop(spaces);
            write(closing);
            m_out += QString(spaces, u' ');
        }
        for (qsizetype i = keep; i < wanted.size(); ++i) {
            write(TagsOf(wanted[i]).opening);
            m_open.append(wanted[i]);
        }
    }

    const QString m_defaultFamily;
    QString m_out;
    qsizetype m_textFrom = 0;  // the text after the last tag written starts here
    QList<Tag> m_open;
    bool m_started = false;
    int m_quotes = 0;
    bool m_code = false;
    QTextList* m_list = nullptr;
};

// How deep the elements of the HTML nest, at most: each start tag one level
// in, each end tag one level out. Elements that never hold others (<br>,
// <img>) or whose end tags may be left out (<p>, <li>, <td>) do not count.
// Qt's import takes time growing with the square of the depth and more.
qsizetype NestingDepth(QStringView html)
{
    static const QStringList kFlat = {
        u"area"_s,  u"base"_s, u"br"_s,   u"col"_s,    u"embed"_s, u"hr"_s,  u"img"_s,
        u"input"_s, u"link"_s, u"meta"_s, u"source"_s, u"track"_s, u"wbr"_s, u"p"_s,
        u"li"_s,    u"td"_s,   u"th"_s,   u"tr"_s,     u"dt"_s,    u"dd"_s,  u"option"_s};
    qsizetype depth = 0, deepest = 0;
    for (qsizetype i = 0; i + 1 < html.size(); ++i) {
        if (html[i] == u'/' && html[i + 1] == u'>') {
            depth = qMax<qsizetype>(0, depth - 1);
            continue;
        }
        if (html[i] != u'<') continue;
        const bool end = html[i + 1] == u'/';
        qsizetype name = i + (end ? 2 : 1), stop = name;
        while (stop < html.size() && stop - name < 8 && html[stop].isLetterOrNumber()) ++stop;
        if (stop == name || !html[name].isLetter()) continue;
        if (kFlat.contains(html.sliced(name, stop - name).toString(), Qt::CaseInsensitive))
            continue;
        depth = end ? qMax<qsizetype>(0, depth - 1) : depth + 1;
        deepest = qMax(deepest, depth);
    }
    return deepest;
}

QString PlainText(const QTextDocument& document)
{
    return document.toPlainText().remove(QChar::ObjectReplacementCharacter);
}

}  // namespace

QString HtmlToMarkup(const QString& html)
{
    if (html.size() > kMaxHtmlToMarkup || NestingDepth(html) > kMaxHtmlNesting) return {};
    DetachedDocument document;
    document.setHtml(html);
    const qsizetype bound = kGrowth * html.size() + kSlack;
    Writer writer(document);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        writer.block(block);
        if (writer.size() > bound) return PlainText(document);
    }
    QString markup = writer.finish();
    if (markup.size() > bound) return PlainText(document);
    // The blank lines an import leaves around the fragment (a table's first
    // block, the clipboard's frame) are not the page's.
    qsizetype from = 0, to = markup.size();
    while (from < to && markup[from] == u'\n') ++from;
    while (to > from && markup[to - 1] == u'\n') --to;
    return markup.sliced(from, to - from);
}

}  // namespace convert
