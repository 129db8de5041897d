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

// The first paragraph as drawn, character by character of its layout (which
// holds text being composed): n tag name, v value, u unpaired tag, r red, .
// uncoloured. The editing area draws its extra selections over the layout's
// formats, taking their positions in the document as positions in the
// layout.
QString DrawnColours(const QPlainTextEdit& memo)
{
    const QTextBlock block = memo.document()->firstBlock();
    const QTextLayout& layout = *block.layout();
    QString marks(block.length() - 1 + layout.preeditAreaText().size(), u'.');
    const auto mark = [&marks](int from, int length, const QTextCharFormat& format) {
        if (!format.hasProperty(QTextFormat::ForegroundBrush)) return;
        const QRgb colour = format.foreground().color().rgb() & 0xffffff;
        const QChar letter = colour == markup::kTagNameColour       ? u'n'
                             : colour == markup::kTagValueColour    ? u'v'
                             : colour == markup::kUnpairedTagColour ? u'u'
                             : colour == 0xff0000                   ? u'r'
                                                                    : u'?';
        for (int i = std::max(from, 0); i < std::min(from + length, int(marks.size())); ++i)
            marks[i] = letter;
    };
    for (const QTextLayout::FormatRange& range : layout.formats())
        mark(range.start, range.length, range.format);
    for (const QTextEdit::ExtraSelection& selection : memo.extraSelections())
        mark(selection.cursor.selectionStart() - block.position(),
             selection.cursor.selectionEnd() - selection.cursor.selectionStart(), selection.format);
    return marks;
}

TEST_F(HighlightTest, TagColoursStayOnTheirCharactersWhileAnInputMethodComposes)
{
    action("N58")->setChecked(true);
    form.N58Click();
    const QString post = u"ab[url=\"x\"]y[/url] [b]z[/b]"_s;
    const struct {
        int caret;
        QString composed;
    } cases[] = {{2, u"中文"_s}, {8, u"字"_s}, {int(post.size()), u"中文字"_s}, {0, u"注音"_s}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caret);
        setText(post);
        markup::HighlightOccurrences(*form.Memo1, u"z"_s, Qt::red);
        form.Memo1->viewport()->repaint();
        const QString before = DrawnColours(*form.Memo1);
        ASSERT_TRUE(before.contains(u'n') && before.contains(u'v') && before.contains(u'r'));
        select(c.caret, c.caret);

        QInputMethodEvent composing(c.composed, {});
        QApplication::sendEvent(form.Memo1, &composing);
        form.Memo1->viewport()->repaint();
        const QString blank(c.composed.size(), u'.');
        EXPECT_EQ(DrawnColours(*form.Memo1), before.left(c.caret) + blank + before.mid(c.caret));
        EXPECT_EQ(text(), post);

        QInputMethodEvent committed;
        committed.setCommitString(c.composed);
        QApplication::sendEvent(form.Memo1, &committed);
        form.Memo1->viewport()->repaint();
        EXPECT_EQ(text(), QString(post).insert(c.caret, c.composed));
        const QString after = DrawnColours(*form.Memo1);
        setText(text());
        form.Memo1->viewport()->repaint();
        EXPECT_EQ(after, DrawnColours(*form.Memo1));
    }
}

}  // namespace
