#pragma once

#include <QString>
#include <QStringView>
#include <QTextDocument>
#include <QUrl>
#include <QVariant>
#include <limits>

namespace convert {

// What a post can show, as one meaning that every form of markup writes in
// its own way: the toolbars' forms, BBCode, Discuz!'s and Markdown.
enum class Form {
    Bold,
    Italic,
    Underline,
    Strike,
    Link,     // value: the address
    Mail,     // value: the address without "mailto:"
    Picture,  // value: the address
    Quote,
    Code,
    List,
    Item,
    Left,
    Centre,
    Right,
    Rule,
    Face,    // value: the face's name
    Size,    // value: the HTML size, "1" to "7"
    Colour,  // value: a colour box name or "#rrggbb"
};
inline constexpr int kForms = int(Form::Colour) + 1;

// One form of markup, written as the walk reads the post. Inline forms open
// and close in nesting order; Quote, Code, List and Item are containers that
// hold whole lines, Left, Centre and Right hold one line. Each writer escapes
// in text() what its form would read as markup, and writes what it cannot
// show as plain text, counting it in dropped().
class MarkupWriter {
public:
    virtual ~MarkupWriter() = default;
    virtual void open(Form form, QStringView value) = 0;
    virtual void close(Form form, QStringView value) = 0;
    virtual void text(QStringView text) = 0;
    // The post goes on on a new line.
    virtual void lineBreak() = 0;
    // The next cell of a table's row.
    virtual void cellBreak() = 0;
    virtual void picture(QStringView address) = 0;
    virtual void rule() = 0;
    // How much has been written so far.
    virtual qsizetype size() const = 0;
    virtual QString result() = 0;

    // How many times each form was met that this writer cannot show.
    int dropped(Form form) const { return m_dropped[int(form)]; }

protected:
    void drop(Form form) { ++m_dropped[int(form)]; }

private:
    int m_dropped[kForms] = {};
};

// A document that loads nothing its HTML refers to: no style sheets, no
// pictures, no local files.
class DetachedDocument final : public QTextDocument {
protected:
    QVariant loadResource(int, const QUrl&) override { return {}; }
};

// How a page is walked.
struct WalkOptions {
    // Gives up, returning false, as soon as the writer has written more.
    qsizetype bound = std::numeric_limits<qsizetype>::max();
    // The face, size and colour that the whole page carries (a browser's
    // copy writes the page's own on every block) taken as the page's look,
    // not as formats.
    bool pageLook = false;
    // The page's HTML went through WithSpacesKept, its stand-ins to go back.
    bool spacesKept = false;
};

// The one walk over a page as Qt's HTML import reads it: every block,
// container and inline format handed to `to`, in order.
bool WriteAs(const QTextDocument& page, MarkupWriter& to, const WalkOptions& options);

// Spaces other than ASCII ones and the no-break space, which Qt's import
// would turn into plain spaces, kept through it as noncharacters. `kept`
// says whether they were: not where the HTML holds such noncharacters itself.
QString WithSpacesKept(const QString& html, bool* kept);
QString SpacesBack(QString text);

// Only web and mail addresses become links and pictures: a post is no place
// for scripts, inline data or the copier's own files.
bool SafeAddress(const QString& address);

}  // namespace convert
