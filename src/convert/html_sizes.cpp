#include "convert/html_sizes.h"

#include <gumbo.h>
#include <QByteArray>
#include <QList>
#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <utility>

namespace convert {

namespace {

constexpr double kPageSize = 16;  // a browser's "medium", in CSS pixels
constexpr double kStep = 1.2;     // "larger" and "smaller", and <big> and <small>
// The seven HTML sizes in CSS pixels, as browsers give them.
constexpr std::array<double, 7> kHtmlSizes = {10, 13, 16, 18, 24, 32, 48};

struct Keyword {
    const char* name;
    double pixels;
    bool readable;  // Qt's import knows it
};
constexpr Keyword kKeywords[] = {{"xx-small", 9, false}, {"x-small", 10, false},
                                 {"small", 13, true},    {"medium", 16, true},
                                 {"large", 18, true},    {"x-large", 24, true},
                                 {"xx-large", 32, true}, {"xxx-large", 48, false}};

struct Size {
    double pixels;
    bool readable;  // by Qt's import as written
};

// A CSS font size in pixels, given the size around it; nothing when it is
// not one.
std::optional<Size> ParseSize(QByteArray value, double around)
{
    value = value.trimmed().toLower();
    if (const qsizetype important = value.indexOf("!important"); important >= 0)
        value = value.left(important).trimmed();
    for (const Keyword& keyword : kKeywords)
        if (value == keyword.name) return Size{keyword.pixels, keyword.readable};
    if (value == "smaller") return Size{around / kStep, false};
    if (value == "larger") return Size{around * kStep, false};
    qsizetype unit = 0;
    while (unit < value.size() && (std::isdigit(static_cast<unsigned char>(value[unit])) ||
                                   value[unit] == '.' || value[unit] == '+'))
        ++unit;
    bool ok = false;
    const double number = value.left(unit).toDouble(&ok);
    if (!ok || number < 0) return std::nullopt;
    const QByteArray suffix = value.sliced(unit).trimmed();
    if (suffix == "px") return Size{number, true};
    if (suffix == "pt") return Size{number * 96 / 72, true};
    if (suffix == "em") return Size{number * around, false};
    if (suffix == "rem") return Size{number * kPageSize, false};
    if (suffix == "%") return Size{number * around / 100, false};
    return std::nullopt;
}

// The declarations of a style attribute: "name: value" pairs apart by
// semicolons outside quotes and brackets.
QList<std::pair<QByteArray, QByteArray>> Declarations(const QByteArray& style)
{
    QList<std::pair<QByteArray, QByteArray>> declarations;
    char quote = 0;
    int brackets = 0;
    qsizetype from = 0;
    for (qsizetype i = 0; i <= style.size(); ++i) {
        const char c = i < style.size() ? style[i] : ';';
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '(') {
            ++brackets;
        } else if (c == ')') {
            brackets = std::max(0, brackets - 1);
        } else if (c == ';' && brackets == 0) {
            const QByteArray declaration = style.sliced(from, i - from);
            const qsizetype colon = declaration.indexOf(':');
            if (colon > 0)
                declarations.append(
                    {declaration.left(colon).trimmed().toLower(), declaration.sliced(colon + 1)});
            from = i + 1;
        }
    }
    return declarations;
}

const GumboAttribute* Attribute(const GumboElement& element, const char* name)
{
    return gumbo_get_attribute(&element.attributes, name);
}

// The size an element gives its text by what it is, before its style.
double TagSize(const GumboElement& element, double around)
{
    switch (element.tag) {
        case GUMBO_TAG_FONT: {
            const GumboAttribute* const size = Attribute(element, "size");
            if (!size) return around;
            const QByteArray value = QByteArray(size->value).trimmed();
            bool ok = false;
            int html = value.toInt(&ok);
            if (!ok) return around;
            if (value.startsWith('+') || value.startsWith('-')) html += 3;
            return kHtmlSizes[std::clamp(html, 1, 7) - 1];
        }
        case GUMBO_TAG_H1:
            return around * 2;
        case GUMBO_TAG_H2:
            return around * 1.5;
        case GUMBO_TAG_H3:
            return around * 1.17;
        case GUMBO_TAG_H5:
            return around * 0.83;
        case GUMBO_TAG_H6:
            return around * 0.67;
        case GUMBO_TAG_BIG:
            return around * kStep;
        case GUMBO_TAG_SMALL:
            return around / kStep;
        default:
            return around;
    }
}

QByteArray Escaped(QByteArray value)
{
    return value.replace('&', "&amp;").replace('"', "&quot;");
}

struct Edit {
    qsizetype from;
    qsizetype length;
    QByteArray text;
};

}  // namespace

QString WithAbsoluteFontSizes(const QString& html)
{
    QByteArray bytes = html.toUtf8();
    GumboOutput* const output =
        gumbo_parse_with_options(&kGumboDefaultOptions, bytes.constData(), size_t(bytes.size()));
    QList<Edit> edits;
    // Walked without recursion: clipboard HTML may nest deeply.
    QList<std::pair<const GumboNode*, double>> pending = {{output->root, kPageSize}};
    while (!pending.isEmpty()) {
        const auto [node, around] = pending.takeLast();
        if (node->type != GUMBO_NODE_ELEMENT && node->type != GUMBO_NODE_TEMPLATE) continue;
        const GumboElement& element = node->v.element;
        double size = TagSize(element, around);
        const GumboAttribute* const style = Attribute(element, "style");
        // The attribute as written lies in the HTML only where the parser
        // did not make it up.
        const bool written = style && style->original_value.data >= bytes.constData() &&
                             style->original_value.data + style->original_value.length <=
                                 bytes.constData() + bytes.size();
        if (style) {
            std::optional<Size> last;
            for (const auto& [name, value] : Declarations(QByteArray(style->value)))
                if (name == "font-size")
                    if (const auto parsed = ParseSize(value, around)) last = parsed;
            if (last) {
                size = last->pixels;
                if (!last->readable && written) {
                    // The last of two sizes counts; Qt's import reads whole
                    // pixels only, and no empty declaration before them.
                    QByteArray declarations = QByteArray(style->value).trimmed();
                    while (declarations.endsWith(';')) declarations.chop(1);
                    edits.append({style->original_value.data - bytes.constData(),
                                  qsizetype(style->original_value.length),
                                  '"' + Escaped(declarations) +
                                      "; font-size: " + QByteArray::number(qRound(size)) + "px\""});
                }
            }
        }
        const GumboVector& children = element.children;
        for (unsigned int i = 0; i < children.length; ++i)
            pending.append({static_cast<const GumboNode*>(children.data[i]), size});
    }
    gumbo_destroy_output(&kGumboDefaultOptions, output);
    if (edits.isEmpty()) return html;
    std::sort(edits.begin(), edits.end(),
              [](const Edit& a, const Edit& b) { return a.from > b.from; });
    for (const Edit& edit : edits) bytes.replace(edit.from, edit.length, edit.text);
    return QString::fromUtf8(bytes);
}

}  // namespace convert
