#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>

class QPlainTextEdit;

// The markup the toolbars write, each tag written once: the tag toolbar's
// buttons and the font, size and colour bar's tag pairs. The buttons, their
// handlers, the highlighting and the paste of rich text read them from here;
// the converter to HTML knows each of these tags by its search texts.
namespace markup {

// How a button writes into the document (see insertion.h).
enum class Insertion {
    Wrap,     // WrapSelection(text, closing)
    AtCaret,  // InsertAtCaret(text)
    NewLine,  // AppendLine(text)
};

struct TagButton {
    QStringView name;  // layout name
    QStringView hint;
    Insertion how;
    QStringView text;     // the opening tag, the snippet or the line
    QStringView closing;  // the closing tag of a wrap
    // The tags inside a snippet or a line that the highlighting colours;
    // empty where they are the opening and closing tag, or the whole line.
    std::array<QStringView, 4> inner;
};

// The tags inside the snippets, each written once.
inline constexpr QStringView kLinkOpen = u"[url=\"";
inline constexpr QStringView kLinkMiddle = u"\"]";
inline constexpr QStringView kLinkClose = u"[/url]";
inline constexpr QStringView kMailScheme = u"mailto:";
inline constexpr QStringView kPictureOpen = u"[img]";
inline constexpr QStringView kPictureClose = u"[/img]";
inline constexpr QStringView kListOpen = u"[list]";
inline constexpr QStringView kItemOpen = u"[*]";
inline constexpr QStringView kItemClose = u"[/*]";
inline constexpr QStringView kListClose = u"[/list]";

// The tag toolbar's buttons, left to right: the key to their rows.
enum class ToolbarForm {
    Bold,
    Italic,
    Underline,
    Strike,
    Left,
    Centre,
    Right,
    Rule,
    Link,
    Mail,
    Picture,
    Code,
    Quote,
    List,
};
inline constexpr int kToolbarForms = int(ToolbarForm::List) + 1;

// The tag toolbar, left to right, one row per ToolbarForm.
extern const std::array<TagButton, kToolbarForms> kTagButtons;

const TagButton& Toolbar(ToolbarForm form);

// The tags a button writes, as the highlighting colours them.
QStringList TagsOf(const TagButton& button);

// Every tag of the tag toolbar, button by button, in the order the
// highlighting command colours them.
QStringList HighlightedTags();

// Writes a button's text into the document; an appended line that the
// editing area did not take whole throws InsertionError.
void WriteTagButton(QPlainTextEdit& memo, const TagButton& button);

// The font, size and colour bar's tag pairs for the text of its box, which
// they carry as it stands. The converter finds them by their spaces: every
// one of these tags ends with a closing bracket and a space, and the colour
// tag's opener starts with a space and an opening bracket.
struct TagPair {
    QString opening;
    QString closing;
};
TagPair FaceTags(const QString& face);
// The colour box's entries, in its order: colour names of HTML.
extern const std::array<QStringView, 14> kColourNames;
TagPair SizeTags(const QString& size);
TagPair ColourTags(const QString& colour);

}  // namespace markup
