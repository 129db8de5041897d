// The one walk over a page as Qt's HTML import reads it, for every form of
// markup the post is written in.
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
#include <algorithm>
#include <array>
#include <cmath>

#include "convert/markup_writer.h"
#include "markup/tag_table.h"

using namespace Qt::Literals::StringLiterals;

namespace convert {

namespace {

// Spaces other than the ASCII ones and the no-break space, which Qt's import
// would turn into plain spaces like any white space of the HTML source. They
// go through it as noncharacters, which no text exchanged between programs
// holds, and come back as they were.
constexpr char16_t kSpacesKept[] = {0x1680, 0x2000, 0x2001, 0x2002, 0x2003, 0x2004, 0x2005, 0x2006,
                                    0x2007, 0x2008, 0x2009, 0x200A, 0x202F, 0x205F, 0x3000};
constexpr char16_t kSpaceStandIn = 0xFDD0;  // to 0xFDEF, all noncharacters
static_assert(std::size(kSpacesKept) <= 0x20);

QChar SpaceBack(QChar c)
{
    const char16_t u = c.unicode();
    return u >= kSpaceStandIn && u < kSpaceStandIn + std::size(kSpacesKept)
               ? QChar(kSpacesKept[u - kSpaceStandIn])
               : c;
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

QString FaceOf(const QTextCharFormat& format)
{
    const QStringList families = format.fontFamilies().toStringList();
    return families.isEmpty() ? QString() : families.first().trimmed();
}

// What the whole page carries: the face, size and colour its blocks are
// given (most of its text, where they differ).
struct PageLook {
    QString face;
    int size = 0;
    QRgb colour = qRgb(0, 0, 0);
};

PageLook LookOf(const QTextDocument& document)
{
    QHash<QString, qsizetype> faces;
    QHash<int, qsizetype> sizes;
    QHash<QRgb, qsizetype> colours;
    qsizetype withFace = 0, withSize = 0, withColour = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextCharFormat format = block.charFormat();
        const qsizetype length = block.length() - 1;  // the text, without the block's end
        if (length == 0) continue;
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
    PageLook look;
    const auto most = [](const auto& counts, qsizetype total, auto& into) {
        for (auto it = counts.begin(); it != counts.end(); ++it)
            if (2 * it.value() > total) into = it.key();
    };
    most(faces, withFace, look.face);
    most(sizes, withSize, look.size);
    most(colours, withColour, look.colour);
    return look;
}

// An inline format with its value. Kept in nesting order, outermost first:
// the forms with values outside, so that switching bold on and off inside a
// face does not write the face again.
struct Inline {
    Form form;
    QString value;
    bool operator==(const Inline&) const = default;
};

class Walk {
public:
    Walk(const QTextDocument& document, MarkupWriter& to, const WalkOptions& options)
        : m_to(to),
          m_defaultFamily(document.defaultFont().family()),
          m_look(options.pageLook ? LookOf(document) : PageLook()),
          m_spacesKept(options.spacesKept)
    {
    }

    void block(const QTextBlock& block, const QTextBlock& next)
    {
        const QTextBlockFormat format = block.blockFormat();
        const int quotes = qMax(0, format.intProperty(QTextFormat::BlockQuoteLevel));
        const bool code = format.nonBreakableLines();
        QTextList* const list = block.textList();
        QTextTable* const table = QTextCursor(block).currentTable();
        const QTextTableCell cell = table ? table->cellAt(block.position()) : QTextTableCell();
        const int row = cell.isValid() ? cell.row() : -1;
        const int column = cell.isValid() ? cell.column() : -1;
        const bool sameContainers = code == m_code && quotes == m_quotes;
        const bool inList = list && sameContainers && !m_lists.isEmpty();
        const qsizetype listsOpen = m_lists.size();
        closeListsDeeperThan(inList ? list : nullptr);
        bool ended = m_lists.size() < listsOpen || (m_table && table != m_table) || m_afterRule ||
                     m_afterAligned;
        if (m_code && !sameContainers) {
            m_to.close(Form::Code, {});
            m_code = false;
            ended = true;
        }
        for (int level = m_quotes; level > quotes; --level) {
            m_to.close(Form::Quote, {});
            ended = true;
        }
        m_quotes = std::min(m_quotes, quotes);
        m_afterRule = false;
        m_afterAligned = false;
        const bool rule = format.hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth);
        // The empty line Qt's import leaves after a container or a rule (the
        // line break after a closing tag of the source) is not the page's,
        // and nor is the one it puts before a container (the line break
        // before an opening tag).
        const bool empty = block.length() == 1 && !list && !table && !rule && !code &&
                           !(format.alignment() & (Qt::AlignHCenter | Qt::AlignRight));
        const bool emptyAfter = empty && ended && quotes <= m_quotes;
        const bool emptyBefore =
            empty && quotes == m_quotes && next.isValid() && Opens(next, quotes);
        if (emptyAfter || emptyBefore) {
            m_table = nullptr;
            return;
        }
        if (m_started && !inList) {
            // A table's row stays on one line, its cells apart.
            if (table && table == m_table && row == m_row && column != m_column)
                m_to.cellBreak();
            else if (table && table == m_table && row == m_row)
                m_to.text(u" ");
            else
                m_to.lineBreak();
        }
        m_started = true;
        m_table = table;
        m_row = row;
        m_column = column;
        for (int level = m_quotes; level < quotes; ++level) m_to.open(Form::Quote, {});
        if (code && !m_code) m_to.open(Form::Code, {});
        m_quotes = quotes;
        m_code = code;

        if (rule) {
            m_to.rule();
            m_afterRule = true;
            return;
        }
        if (list) openItem(list);
        // Right is also the trailing side of left-to-right text. A table's
        // cells keep to their row.
        const Qt::Alignment alignment = table ? Qt::AlignLeft : format.alignment();
        const Form aligned = alignment & Qt::AlignHCenter ? Form::Centre
                             : alignment & Qt::AlignRight ? Form::Right
                                                          : Form::Left;
        if (aligned != Form::Left) m_to.open(aligned, {});
        for (auto it = block.begin(); !it.atEnd(); ++it) fragment(it.fragment());
        setOpen({});
        if (aligned != Form::Left) m_to.close(aligned, {});
        m_afterAligned = aligned != Form::Left;
    }

    void finish()
    {
        closeListsDeeperThan(nullptr);
        if (m_code) m_to.close(Form::Code, {});
        for (; m_quotes > 0; --m_quotes) m_to.close(Form::Quote, {});
    }

private:
    static int Depth(const QTextList* list) { return list->format().indent(); }

    // Whether a block starts a container (or is a rule) where the text
    // outside it at quotation level `quotes` is.
    static bool Opens(const QTextBlock& block, int quotes)
    {
        const QTextBlockFormat format = block.blockFormat();
        return format.intProperty(QTextFormat::BlockQuoteLevel) > quotes ||
               format.nonBreakableLines() || block.textList() ||
               QTextCursor(block).currentTable() ||
               format.hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth);
    }

    // Ends the items and lists that `next` is not part of, innermost first:
    // all of them when it is none.
    void closeListsDeeperThan(const QTextList* next)
    {
        while (!m_lists.isEmpty()) {
            const QTextList* const open = m_lists.last();
            if (next && (open == next || Depth(open) < Depth(next))) return;
            m_to.close(Form::Item, {});
            m_to.close(Form::List, {});
            m_lists.removeLast();
        }
    }

    void openItem(QTextList* list)
    {
        if (!m_lists.isEmpty() && m_lists.last() == list) {
            m_to.close(Form::Item, {});
        } else {
            // A list inside the open item, or a new one.
            m_to.open(Form::List, {});
            m_lists.append(list);
        }
        m_to.open(Form::Item, {});
    }

    void fragment(const QTextFragment& fragment)
    {
        const QTextCharFormat format = fragment.charFormat();
        setOpen(inlinesOf(format));
        QString text = fragment.text();
        if (format.isImageFormat()) {
            const QString address = back(format.toImageFormat().name());
            if (!SafeAddress(address)) return;
            for (const QChar c : text)
                if (c == QChar::ObjectReplacementCharacter) m_to.picture(address);
            return;
        }
        text.remove(QChar::ObjectReplacementCharacter);
        if (m_spacesKept)
            for (QChar& c : text) c = SpaceBack(c);
        const QStringList lines = text.split(QChar::LineSeparator);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0) m_to.lineBreak();
            if (!lines[i].isEmpty()) m_to.text(lines[i]);
        }
    }

    QList<Inline> inlinesOf(const QTextCharFormat& format) const
    {
        QList<Inline> inlines;
        const bool anchor = format.isAnchor() && !format.anchorHref().isEmpty();
        const QString href = anchor ? back(format.anchorHref()).trimmed() : QString();
        if (anchor && SafeAddress(href)) {
            if (href.startsWith(markup::kMailScheme, Qt::CaseInsensitive))
                inlines.append({Form::Mail, href.sliced(markup::kMailScheme.size())});
            else
                inlines.append({Form::Link, href});
        }
        const QString family = back(FaceOf(format));
        if (!family.isEmpty() && !Generic(family) &&
            family.compare(m_defaultFamily, Qt::CaseInsensitive) != 0 &&
            family.compare(m_look.face, Qt::CaseInsensitive) != 0)
            inlines.append({Form::Face, family});
        if (const int size = HtmlSize(format); size != 0 && size != 3 && size != m_look.size)
            inlines.append({Form::Size, QString::number(size)});
        // A link's own colour and underline are the import's, not the page's.
        if (format.hasProperty(QTextFormat::ForegroundBrush) && !anchor) {
            const QColor colour = format.foreground().color();
            if (colour.isValid() && colour.alpha() > 0 && colour.rgb() != qRgb(0, 0, 0) &&
                colour.rgb() != m_look.colour)
                inlines.append({Form::Colour, ColourName(colour)});
        }
        if (format.fontWeight() >= QFont::DemiBold) inlines.append({Form::Bold, {}});
        if (format.fontItalic()) inlines.append({Form::Italic, {}});
        if (format.fontUnderline() && !anchor) inlines.append({Form::Underline, {}});
        if (format.fontStrikeOut()) inlines.append({Form::Strike, {}});
        return inlines;
    }

    // Closes the open forms from the first one not wanted, and opens the rest.
    void setOpen(const QList<Inline>& wanted)
    {
        qsizetype keep = 0;
        while (keep < m_open.size() && keep < wanted.size() && m_open[keep] == wanted[keep]) ++keep;
        while (m_open.size() > keep) {
            const Inline done = m_open.takeLast();
            m_to.close(done.form, done.value);
        }
        for (qsizetype i = keep; i < wanted.size(); ++i) {
            m_to.open(wanted[i].form, wanted[i].value);
            m_open.append(wanted[i]);
        }
    }

    QString back(QString text) const { return m_spacesKept ? SpacesBack(std::move(text)) : text; }

    MarkupWriter& m_to;
    const QString m_defaultFamily;
    const PageLook m_look;
    const bool m_spacesKept;
    QList<Inline> m_open;
    bool m_started = false;
    bool m_afterRule = false;     // the last block was a rule
    bool m_afterAligned = false;  // the last block was centred or right-aligned
    int m_quotes = 0;
    bool m_code = false;
    QList<const QTextList*> m_lists;  // open, outermost first
    const QTextTable* m_table = nullptr;
    int m_row = -1;
    int m_column = -1;
};

}  // namespace

QString WithSpacesKept(const QString& html, bool* kept)
{
    *kept = false;
    for (const QChar c : html)
        if (c.unicode() >= kSpaceStandIn && c.unicode() < kSpaceStandIn + 0x20) return html;
    *kept = true;
    QString out = html;
    for (QChar& c : out) {
        const auto* space = std::find(std::begin(kSpacesKept), std::end(kSpacesKept), c.unicode());
        if (space != std::end(kSpacesKept))
            c = QChar(char16_t(kSpaceStandIn + (space - std::begin(kSpacesKept))));
    }
    return out;
}

QString SpacesBack(QString text)
{
    for (QChar& c : text) c = SpaceBack(c);
    return text;
}

bool SafeAddress(const QString& address)
{
    const QString scheme = QUrl(address.trimmed()).scheme().toLower();
    return scheme == u"http" || scheme == u"https" || scheme == u"ftp" || scheme == u"mailto";
}

bool WriteAs(const QTextDocument& page, MarkupWriter& to, const WalkOptions& options)
{
    const qsizetype bound = options.bound;
    Walk walk(page, to, options);
    for (QTextBlock block = page.begin(); block.isValid(); block = block.next()) {
        walk.block(block, block.next());
        if (to.size() > bound) return false;
    }
    walk.finish();
    return to.size() <= bound;
}

}  // namespace convert
