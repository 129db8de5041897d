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

// The tag toolbar, left to right.
extern const std::array<TagButton, 14> kTagButtons;

// The button of that layout name; the program's own names only.
const TagButton& TagButtonNamed(QStringView name);

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
