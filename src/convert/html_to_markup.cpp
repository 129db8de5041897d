#include "convert/html_to_markup.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QTextList>
#include <QTextTable>
#include <QUrl>
#include <QVariant>
#include <algorithm>
#include <array>
#include <cmath>

#include "convert/html_sizes.h"
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

// Spaces other than the ASCII ones and the no-break space, which Qt's import
// would turn into plain spaces like any white space of the HTML source. They
// go through it as noncharacters, which no text exchanged between programs
// holds, and come back as they were.
constexpr char16_t kSpacesKept[] = {0x1680, 0x2000, 0x2001, 0x2002, 0x2003, 0x2004, 0x2005, 0x2006,
                                    0x2007, 0x2008, 0x2009, 0x200A, 0x202F, 0x205F, 0x3000};
constexpr char16_t kSpaceStandIn = 0xFDD0;  // to 0xFDEF, all noncharacters
static_assert(std::size(kSpacesKept) <= 0x20);

// The HTML with each kept space replaced by its stand-in; as it is when it
// holds a stand-in already.
QString WithSpacesKept(const QString& html)
{
    for (const QChar c : html)
        if (c.unicode() >= kSpaceStandIn && c.unicode() < kSpaceStandIn + 0x20) return html;
    QString out = html;
    for (QChar& c : out) {
        const auto* kept = std::find(std::begin(kSpacesKept), std::end(kSpacesKept), c.unicode());
        if (kept != std::end(kSpacesKept))
            c = QChar(char16_t(kSpaceStandIn + (kept - std::begin(kSpacesKept))));
    }
    return out;
}

QChar SpaceBack(QChar c)
{
    const char16_t u = c.unicode();
    return u >= kSpaceStandIn && u < kSpaceStandIn + std::size(kSpacesKept)
               ? QChar(kSpacesKept[u - kSpaceStandIn])
               : c;
}

QString SpacesBack(QString text)
{
    for (QChar& c : text) c = SpaceBack(c);
    return text;
}

// Only addresses of the web and of mail become links and pictures: a post
// is no place for scripts, inline data or the copier's own files.
bool SafeAddress(const QString& address)
{
    const QString scheme = QUrl(address.trimmed()).scheme().toLower();
    return scheme == u"http" || scheme == u"https" || scheme == u"ftp" || scheme == u"mailto";
}

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
    // A size in pixels or points comes from the innermost element that sets
    // one; a block's "medium" around it leaves its adjustment on the text too.
    double pixels = 0;
    if (format.hasProperty(QTextFormat::FontPixelSize))
        pixels = format.intProperty(QTextFormat::FontPixelSize);
    else if (format.hasProperty(QTextFormat::FontPointSize))
        pixels = format.doubleProperty(QTextFormat::FontPointSize) * 96 / 72;
    if (pixels <= 0 && format.hasProperty(QTextFormat::FontSizeAdjustment))
        return qBound(1, 3 + format.intProperty(QTextFormat::FontSizeAdjustment), 7);
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
    value = SpacesBack(value);
    value.remove(u'\n')
        .remove(u'\r')
        .remove(QChar::LineSeparator)
        .remove(QChar::ParagraphSeparator);
    if (address)
        return value.replace(u'"', u"%22"_s).replace(u'[', u"%5B"_s).replace(u']', u"%5D"_s);
    return value.remove(u'[').remove(u']').left(kLongestFace);
}

// What the whole fragment carries: the face, size and colour its blocks
// are given (most of its text, where they differ). A browser writes the
// page's own on every block it copies; they are the page's look, not the
// writer's marks, and get no tags.
struct FragmentLook {
    QString face;
    int size = 0;
    QRgb colour = qRgb(0, 0, 0);
};

QString FaceOf(const QTextCharFormat& format)
{
    const QStringList families = format.fontFamilies().toStringList();
    return families.isEmpty() ? QString() : families.first().trimmed();
}

FragmentLook LookOf(const QTextDocument& document)
{
    QHash<QString, qsizetype> faces;
    QHash<int, qsizetype> sizes;
    QHash<QRgb, qsizetype> colours;
    qsizetype withFace = 0, withSize = 0, withColour = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextCharFormat format = block.charFormat();
        const qsizetype length = block.length();
        if (const QString face = FaceOf(format); !face.isEmpty()) {
            faces[face.toLower()] += length;
            withFace += length;
        }
        if (const int size = HtmlSize(format)) {
            sizes[size] += length;
            withSize += length;
        }
        if (format.hasProperty(QTextFormat::ForegroundBrush)) {
            colours[format.foreground().color().rgb()] += length;
            withColour += length;
        }
    }
    FragmentLook look;
    const auto most = [](const auto& counts, qsizetype total, auto& into) {
        for (auto it = counts.begin(); it != counts.end(); ++it)
            if (2 * it.value() > total) into = it.key();
    };
    most(faces, withFace, look.face);
    most(sizes, withSize, look.size);
    most(colours, withColour, look.colour);
    return look;
}

class Writer {
public:
    explicit Writer(const QTextDocument& document)
        : m_defaultFamily(document.defaultFont().family()), m_look(LookOf(document))
    {
    }

    void block(const QTextBlock& block)
    {
        const QTextBlockFormat format = block.blockFormat();
        const int quotes = qMax(0, format.intProperty(QTextFormat::BlockQuoteLevel));
        const bool code = format.nonBreakableLines();
        QTextList* const list = block.textList();
        QTextTable* const table = QTextCursor(block).currentTable();
        const QTextTableCell cell = table ? table->cellAt(block.position()) : QTextTableCell();
        // The empty line Qt's import puts after a table is not the page's.
        if (!table && m_table && block.length() == 1) {
            m_table = nullptr;
            return;
        }
        const int row = cell.isValid() ? cell.row() : -1;
        const int column = cell.isValid() ? cell.column() : -1;
        // Containers that end close on the line before; lists stay on one
        // line, as the list button writes them, nested ones inside an item.
        const bool sameContainers = code == m_code && quotes == m_quotes;
        const bool inList = list && sameContainers && !m_lists.isEmpty();
        closeListsDeeperThan(inList ? list : nullptr);
        if (m_code && !sameContainers) write(Button(12).closing);
        for (int level = m_quotes; level > quotes; --level) write(Button(13).closing);
        if (m_started && !inList) {
            // A table's row stays on one line, its cells apart by tabs.
            if (table && table == m_table && row == m_row)
                m_out += column != m_column ? u'\t' : u' ';
            else
                m_out += u'\n';
        }
        m_started = true;
        m_table = table;
        m_row = row;
        m_column = column;
        for (int level = m_quotes; level < quotes; ++level) write(Button(13).text);
        if (code && !sameContainers) write(Button(12).text);
        m_quotes = quotes;
        m_code = code;

        if (format.hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth)) {
            write(Button(8).text);
            return;
        }
        if (list) openItem(list);
        // Right is also the trailing side of left-to-right text. A table's
        // cells keep to their row.
        const Qt::Alignment alignment = table ? Qt::AlignLeft : format.alignment();
        const int aligned = alignment & Qt::AlignHCenter ? 6 : alignment & Qt::AlignRight ? 7 : 0;
        if (aligned) write(Button(aligned).text);
        for (auto it = block.begin(); !it.atEnd(); ++it) fragment(it.fragment());
        setOpen({});
        if (aligned) write(Button(aligned).closing);
    }

    QString finish()
    {
        closeListsDeeperThan(nullptr);
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

    static int Depth(const QTextList* list) { return list->format().indent(); }

    // Ends the items and lists that `next` is not part of, innermost first:
    // all of them when it is none.
    void closeListsDeeperThan(const QTextList* next)
    {
        const markup::TagButton& lists = Button(14);
        while (!m_lists.isEmpty()) {
            const QTextList* const open = m_lists.last();
            if (next && (open == next || Depth(open) < Depth(next))) return;
            write(lists.inner[2]);
            write(lists.inner[3]);
            m_lists.removeLast();
        }
    }

    void openItem(QTextList* list)
    {
        const markup::TagButton& lists = Button(14);
        if (!m_lists.isEmpty() && m_lists.last() == list) {
            write(lists.inner[2]);
        } else {
            // A list inside the open item, or a new one.
            write(lists.inner[0]);
            m_lists.append(list);
        }
        write(lists.inner[1]);
    }

    void fragment(const QTextFragment& fragment)
    {
        const QTextCharFormat format = fragment.charFormat();
        setOpen(tagsOf(format));
        const QString text = fragment.text();
        if (format.isImageFormat()) {
            const QString address = format.toImageFormat().name();
            if (!SafeAddress(SpacesBack(address))) return;
            const QString name = TagValue(address, true);
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
                m_out += SpaceBack(c);
        }
    }

    QList<Tag> tagsOf(const QTextCharFormat& format) const
    {
        QList<Tag> tags;
        const bool anchor = format.isAnchor() && !format.anchorHref().isEmpty();
        const bool link = anchor && SafeAddress(SpacesBack(format.anchorHref()));
        if (link) tags.append({Inline::Link, TagValue(format.anchorHref(), true)});
        const QString family = FaceOf(format);
        if (!family.isEmpty() && !Generic(family) &&
            family.compare(m_defaultFamily, Qt::CaseInsensitive) != 0 &&
            family.compare(m_look.face, Qt::CaseInsensitive) != 0) {
            const QString face = TagValue(family, false);
            if (!face.isEmpty()) tags.append({Inline::Face, face});
        }
        if (const int size = HtmlSize(format); size != 0 && size != 3 && size != m_look.size)
            tags.append({Inline::Size, QString::number(size)});
        // A link's own colour and underline are the import's, not the page's.
        if (format.hasProperty(QTextFormat::ForegroundBrush) && !anchor) {
            const QColor colour = format.foreground().color();
            if (colour.isValid() && colour.alpha() > 0 && colour.rgb() != qRgb(0, 0, 0) &&
                colour.rgb() != m_look.colour)
                tags.append({Inline::Colour, ColourName(colour)});
        }
        if (format.fontWeight() >= QFont::DemiBold) tags.append({Inline::Bold, {}});
        if (format.fontItalic()) tags.append({Inline::Italic, {}});
        if (format.fontUnderline() && !anchor) tags.append({Inline::Underline, {}});
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
    const FragmentLook m_look;
    QString m_out;
    qsizetype m_textFrom = 0;  // the text after the last tag written starts here
    QList<Tag> m_open;
    bool m_started = false;
    int m_quotes = 0;
    bool m_code = false;
    QList<const QTextList*> m_lists;  // open, outermost first
    const QTextTable* m_table = nullptr;
    int m_row = -1;
    int m_column = -1;
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
    return SpacesBack(document.toPlainText().remove(QChar::ObjectReplacementCharacter));
}

}  // namespace

QString HtmlToMarkup(const QString& html)
{
    if (html.size() > kMaxHtmlToMarkup || NestingDepth(html) > kMaxHtmlNesting) return {};
    DetachedDocument document;
    // Struck text in the elements Qt's import does not know.
    document.setDefaultStyleSheet(u"del, strike { text-decoration: line-through; }"_s);
    document.setHtml(WithSpacesKept(WithAbsoluteFontSizes(html)));
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
