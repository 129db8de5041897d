// Tag highlighting: which characters the hidden View command shows in red,
// and that the colours stay out of the text, the undo history and copies.
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

#include "app/form_fixture.h"
#include "markup/highlight.h"

using namespace Qt::Literals::StringLiterals;

namespace {

using HighlightTest = FormTest;

// The document with each red character shown as ^ and every other as a dot;
// line breaks stay.
QString RedMarks(const QPlainTextEdit& memo)
{
    QString marks;
    for (QTextBlock block = memo.document()->begin(); block.isValid(); block = block.next()) {
        QString line(block.length() - 1, u'.');
        for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
            if (range.format.foreground().color() != QColor(255, 0, 0)) continue;
            for (int i = range.start; i < range.start + range.length; ++i) line[i] = u'^';
        }
        if (!marks.isEmpty() || block != memo.document()->begin()) marks += u'\n';
        marks += line;
    }
    return marks;
}

// "{…}" marks what must come out red.
QPair<QString, QString> TextAndMarks(const QString& marked)
{
    QString text, marks;
    bool red = false;
    for (const QChar c : marked) {
        if (c == u'{' || c == u'}') {
            red = c == u'{';
            continue;
        }
        text += c;
        marks += c == u'\n' ? c : red ? u'^' : u'.';
    }
    return {text, marks};
}

TEST_F(HighlightTest, ColoursTheTagToolbarsTagsAndNothingElse)
{
    const QString cases[] = {
        u"{[b]}x{[/b]} {[i]}x{[/i]} {[u]}x{[/u]} {[s]}x{[/s]}"_s,
        u"{[left][/left][center][/center][right][/right][hr]}"_s,
        u"{[url=\"}a{\"]}b{[/url]}"_s,
        u"{[url=\"mailto:}me{\"]}me{[/url]}"_s,
        u"x{\"]}y"_s,  // outside a link as well
        u"{[img]}p{[/img][code]}c{[/code][quote]}q{[/quote]}"_s,
        u"{[list]}\n{[*]}a{[/*]}\n{[/list]}"_s,
        u"[B]x[/B] [url] [hr ] [url=x]"_s,
        u"[font=Arial] a[/font=Arial]  [red] b[/red] [size=3] c[/size=3] "_s,
        u"中文{[b]}字"_s,
    };
    for (const QString& marked : cases) {
        SCOPED_TRACE(marked.toStdString());
        const auto [plain, red] = TextAndMarks(marked);
        setText(plain);
        form.findChild<QAction*>(u"N55"_s)->trigger();
        EXPECT_EQ(RedMarks(*form.Memo1), red);
        EXPECT_EQ(text(), plain);
    }
}

TEST_F(HighlightTest, DisplayOnlyTheTextSelectionUndoAndCopiesStayAsTheyWere)
{
    QStringList lines;
    for (int i = 0; i < 300; ++i) lines.append(u"line %1 [b]bold[/b]"_s.arg(i));
    setText(lines.join(u'\n'));
    form.Memo1->document()->clearUndoRedoStacks();
    form.Memo1->document()->setModified(false);
    select(40, 45);
    QScrollBar* scroll = form.Memo1->verticalScrollBar();
    scroll->setValue(scroll->maximum() / 2);
    const int scrolled = scroll->value();

    form.N55Click();
    EXPECT_EQ(RedMarks(*form.Memo1).count(u'^'), 300 * 7);
    EXPECT_EQ(form.Memo1->textCursor().selectionStart(), 40);
    EXPECT_EQ(form.Memo1->textCursor().selectionEnd(), 45);
    EXPECT_EQ(scroll->value(), scrolled);
    EXPECT_FALSE(form.Memo1->document()->isModified());
    EXPECT_FALSE(form.Memo1->document()->isUndoAvailable());

    // A copy carries no colour for a program that takes formatted text.
    form.Memo1->selectAll();
    form.Memo1->copy();
    const QMimeData* copied = QApplication::clipboard()->mimeData();
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(copied->text(), lines.join(u'\n'));
    EXPECT_FALSE(copied->html().contains(u"#ff0000"_s, Qt::CaseInsensitive));

    // Typing next to a red tag is not red; a listed tag typed later is.
    setText(u"[b]"_s);
    form.N55Click();
    QTest::keyClicks(form.Memo1, u"ab [i]"_s);
    EXPECT_EQ(RedMarks(*form.Memo1), u"^^^...^^^"_s);
}

TEST_F(HighlightTest, ALaterColourWinsWhereOccurrencesOverlap)
{
    setText(u"aaa"_s);
    markup::HighlightOccurrences(*form.Memo1, u"aa"_s, Qt::red);  // overlapping: all three
    EXPECT_EQ(RedMarks(*form.Memo1), u"^^^"_s);
    markup::HighlightOccurrences(*form.Memo1, u"a"_s, Qt::blue);
    EXPECT_EQ(RedMarks(*form.Memo1), u"..."_s);
}

}  // namespace
