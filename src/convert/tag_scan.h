#pragma once

#include <QStringView>
#include <QtGlobal>

// Finds the converter's tags in a text the way the converter itself meets
// them: one scan from left to right that takes what each step of its table
// would take, so that a tag the converter cannot see (split by a line break,
// spoilt by a missing space) is found where the converter fails on it. Used
// by the tag check and the tag colouring (tag_check.h).
namespace convert::scan {

// How a tag is written.
enum class Form {
    Plain,    // "[b]", "[/b]", "[hr]": fixed texts
    Address,  // "[url=\"" address "\"]"
    Named,    // "[font=" name "]", "[/font=" name "]", the same for size
    Colour,   // "[" colour "]" and "[/" colour "]", by their spaces
};

enum class Role { Opener, Closer, Single };

// What keeps the converter from turning a tag into its HTML.
enum class Flaw {
    None,
    NoSpaceAfter,   // a face, size or colour tag's "]" without its space
    NoSpaceBefore,  // a colour opener without a space before it
    SpaceBefore,    // a colour closer with a space before it
    Unended,        // "[url=\"", "[font=" … with no end on its line
    Stray,          // " [" or "[/" with no "]" on its line: still converted
};

struct Tag {
    qsizetype start = 0;  // the opening bracket
    qsizetype length = 0;
    qsizetype valueStart = 0;  // address, name, size or colour, where there is one
    qsizetype valueLength = 0;
    int kind = 0;  // which pair (Kinds()), the same for opener and closer
    Form form = Form::Plain;
    Role role = Role::Single;
    Flaw flaw = Flaw::None;
};

// The pairs the converter's table knows, each with how its opener and its
// closer begin ("[b]" and "[/b]", "[url=\"" and "[/url]", "[font=" and
// "[/font="); the colour tags, which have no keyword, come last.
struct Kind {
    QStringView opener;
    QStringView closer;  // empty for a single tag such as "[hr]"
    Form form;
};
int KindCount();
const Kind& KindAt(int kind);

class Scanner {
public:
    explicit Scanner(QStringView text) : m_text(text) {}
    // The next tag, in the order of the text; false at the end.
    bool next(Tag& tag);
    // Where the line holding `position` ends (its "\n" or the end).
    qsizetype lineEnd(qsizetype position) { return m_newline.from(m_text, position); }

private:
    // The next occurrence of a text at or after a position, for positions
    // that only grow: each occurrence is looked for once, so a line full of
    // brackets costs no more than the line.
    struct NextOf {
        QStringView what;
        qsizetype found = -1;
        qsizetype from(QStringView text, qsizetype position)
        {
            if (found < position) search(text, position);
            return found;
        }
        void search(QStringView text, qsizetype position);
    };

    bool bracket(Tag& tag);

    QStringView m_text;
    qsizetype m_at = 0;
    qsizetype m_free = 0;  // the text before this was taken by a step of the table
    NextOf m_newline{u"\n"};
    NextOf m_close{u"]"};
    NextOf m_open{u"["};
    NextOf m_quoteClose{u"\"]"};
};

}  // namespace convert::scan
