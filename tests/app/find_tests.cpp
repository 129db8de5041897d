// Find and replace, driven through the two dialogs' own fields and buttons.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>
#include <QTextDocument>
#include <random>

#include "app/find_dialog.h"
#include "app/form_fixture.h"
#include "markup/document_search.h"
#include "text/big5_codec.h"

using namespace Qt::Literals::StringLiterals;

namespace {

struct Choices {
    bool matchCase = true;
    bool wholeWord = false;
    bool up = false;
};

class FindTest : public FormTest {
protected:
    template <typename T>
    T* in(FindReplaceDialog* dialog, const char* name)
    {
        T* child = dialog->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    void fill(FindReplaceDialog* dialog, const QString& what, Choices choices,
              const QString& with = {})
    {
        in<QLineEdit>(dialog, "FindText")->setText(what);
        if (dialog == form.ReplaceDialog1) in<QLineEdit>(dialog, "ReplaceText")->setText(with);
        in<QCheckBox>(dialog, "MatchCase")->setChecked(choices.matchCase);
        in<QCheckBox>(dialog, "WholeWord")->setChecked(choices.wholeWord);
        in<QRadioButton>(dialog, choices.up ? "Up" : "Down")->setChecked(true);
    }
    void press(FindReplaceDialog* dialog, const char* button)
    {
        in<QPushButton>(dialog, button)->click();
    }
    QPair<int, int> selection() const
    {
        const QTextCursor cursor = form.Memo1->textCursor();
        return {cursor.selectionStart(), cursor.selectionEnd()};
    }
};

struct FindCase {
    const char* what;
    QString text;
    int start, end;  // the selection before
    QString find;
    Choices choices;
    int foundStart, foundEnd;  // -1: not found
};

TEST_F(FindTest, FindNextHonoursTheSelectionAndEveryOption)
{
    const FindCase cases[] = {
        {"caret at the end", u"abc abc"_s, 7, 7, u"abc"_s, {}, -1, -1},
        {"past the selected occurrence", u"abc abc"_s, 0, 3, u"abc"_s, {}, 4, 7},
        {"from the caret", u"abc abc abc"_s, 5, 5, u"abc"_s, {}, 8, 11},
        {"case must match", u"ABC abc"_s, 0, 0, u"abc"_s, {}, 4, 7},
        {"upper case is not lower", u"ABC"_s, 0, 0, u"abc"_s, {}, -1, -1},
        {"case ignored", u"xABC abc"_s, 0, 0, u"abc"_s, {false}, 1, 4},
        {"Chinese", u"中文字，文字"_s, 2, 2, u"文字"_s, {}, 4, 6},
        {"inside a word", u"concatenate cat"_s, 0, 0, u"cat"_s, {}, 3, 6},
        {"whole word", u"concatenate cat"_s, 0, 0, u"cat"_s, {true, true}, 12, 15},
        {"ideographs are word characters", u"貓cat cat"_s, 0, 0, u"cat"_s, {true, true}, 5, 8},
        {"punctuation at the edges", u"b-a-a"_s, 0, 0, u"-a-"_s, {true, true}, 1, 4},
        {"a rejected hit, then one in the same line",
         u"cats cat"_s,
         0,
         0,
         u"cat"_s,
         {true, true},
         5,
         8},
        {"no whole word anywhere", u"cats"_s, 0, 0, u"cat"_s, {true, true}, -1, -1},
        {"on a later line", u"x\nyy abc"_s, 0, 0, u"abc"_s, {}, 5, 8},
        {"up from the middle", u"abc abc abc"_s, 4, 7, u"abc"_s, {true, false, true}, 0, 3},
        {"up ends before the selection", u"aaaa"_s, 2, 4, u"aa"_s, {true, false, true}, 0, 2},
        {"up onto an earlier line", u"abc\nxx"_s, 6, 6, u"abc"_s, {true, false, true}, 0, 3},
        {"up from the start", u"abc abc"_s, 0, 0, u"abc"_s, {true, false, true}, -1, -1},
        {"up, whole word, any case", u"CAT cats"_s, 8, 8, u"cat"_s, {false, true, true}, 0, 3},
    };
    for (FindReplaceDialog* dialog : {form.FindDialog1, form.ReplaceDialog1}) {
        for (const FindCase& c : cases) {
            SCOPED_TRACE(c.what);
            SCOPED_TRACE(dialog->objectName().toStdString());
            setText(c.text);
            select(c.start, c.end);
            prompts.clearAsked();
            fill(dialog, c.find, c.choices);
            press(dialog, "FindNext");
            if (c.foundStart < 0) {
                EXPECT_EQ(selection(), qMakePair(c.start, c.end));
                EXPECT_EQ(prompts.asked(),
                          QStringList{u"information:找不到「"_s + c.find + u"」字串！"_s});
            } else {
                EXPECT_EQ(selection(), qMakePair(c.foundStart, c.foundEnd));
                EXPECT_EQ(prompts.asked(), QStringList{});
            }
            EXPECT_EQ(text(), c.text);
            EXPECT_FALSE(form.Memo1->document()->isModified());
        }
    }
}

TEST_F(FindTest, FindNextStepsToTheLastOccurrenceWithoutWrapping)
{
    setText(u"one two one two one"_s);
    select(0, 0);
    form.findChild<QAction*>(u"N29"_s)->trigger();
    ASSERT_TRUE(form.FindDialog1->isVisible());
    fill(form.FindDialog1, u"one"_s, {});
    QList<QPair<int, int>> seen;
    for (int i = 0; i < 4; ++i) {
        press(form.FindDialog1, "FindNext");
        seen.append(selection());
    }
    EXPECT_EQ(seen, (QList<QPair<int, int>>{{0, 3}, {8, 11}, {16, 19}, {16, 19}}));
    EXPECT_EQ(prompts.asked(), QStringList{u"information:找不到「one」字串！"_s});
    EXPECT_TRUE(form.FindDialog1->isVisible());
}

TEST_F(FindTest, TheDialogMovesOffWhatItFinds)
{
    setText(u"abc"_s);
    select(0, 0);
    form.N29Click();
    const QRect found = QRect(form.Memo1->viewport()->mapToGlobal(QPoint(0, 0)), QSize(60, 30));
    form.FindDialog1->move(found.topLeft());
    ASSERT_TRUE(form.FindDialog1->frameGeometry().intersects(found));
    fill(form.FindDialog1, u"abc"_s, {});
    press(form.FindDialog1, "FindNext");
    ASSERT_EQ(selection(), qMakePair(0, 3));
    const QRect shown = form.Memo1->cursorRect(form.Memo1->textCursor());
    EXPECT_FALSE(form.FindDialog1->frameGeometry().intersects(
        QRect(form.Memo1->viewport()->mapToGlobal(shown.topLeft()), shown.size())));
}

struct ReplaceCase {
    const char* what;
    QString text;
    QString find, with;
    Choices choices;
    QStringList afterEachPress;  // the text after press 1, 2, …; then one more press fails
};

TEST_F(FindTest, ReplaceChangesTheFirstOccurrenceOfTheDocumentPerPress)
{
    const ReplaceCase cases[] = {
        {"three a's", u"a-a-a"_s, u"a"_s, u"b"_s, {}, {u"b-a-a"_s, u"b-b-a"_s, u"b-b-b"_s}},
        {"empty replacement deletes", u"xay"_s, u"a"_s, u""_s, {}, {u"xy"_s}},
        {"case ignored", u"A a"_s, u"a"_s, u"b"_s, {false}, {u"b a"_s, u"b b"_s}},
        {"whole word", u"cats cat"_s, u"cat"_s, u"dog"_s, {true, true}, {u"cats dog"_s}},
    };
    for (const ReplaceCase& c : cases) {
        SCOPED_TRACE(c.what);
        setText(c.text);  // the caret at the end does not matter
        form.Memo1->document()->setModified(false);
        prompts.clearAsked();
        fill(form.ReplaceDialog1, c.find, c.choices, c.with);
        for (const QString& expected : c.afterEachPress) {
            press(form.ReplaceDialog1, "Replace");
            EXPECT_EQ(text(), expected);
        }
        EXPECT_TRUE(form.Memo1->document()->isModified());
        EXPECT_EQ(prompts.asked(), QStringList{});
        press(form.ReplaceDialog1, "Replace");
        EXPECT_EQ(text(), c.afterEachPress.last());
        EXPECT_EQ(prompts.asked(), QStringList{u"errorDialog:找不到「"_s + c.find + u"」字串！"_s});
    }

    // a → aa grows the first run of a's by one per press; the caret follows.
    setText(u"xaxa"_s);
    fill(form.ReplaceDialog1, u"a"_s, {}, u"aa"_s);
    press(form.ReplaceDialog1, "Replace");
    press(form.ReplaceDialog1, "Replace");
    EXPECT_EQ(text(), u"xaaaxa"_s);
    EXPECT_EQ(selection(), qMakePair(3, 3));
}

TEST_F(FindTest, ReplaceAllReplacesEveryOccurrenceOnceAsOneUndoStep)
{
    const struct {
        const char* what;
        QString text, find, with;
        Choices choices;
        QString expected;
        int caret;  // after the last replacement
    } cases[] = {
        {"overlapping", u"aaa"_s, u"aa"_s, u"b"_s, {}, u"ba"_s, 1},
        {"growing", u"a-a\na"_s, u"a"_s, u"aa"_s, {}, u"aa-aa\naa"_s, 8},
        {"shrinking", u"中文中文中"_s, u"中文"_s, u""_s, {}, u"中"_s, 0},
        {"case must match", u"ABC abc"_s, u"abc"_s, u"x"_s, {}, u"ABC x"_s, 5},
        {"case ignored", u"ABC abc"_s, u"abc"_s, u"x"_s, {false}, u"x x"_s, 3},
        {"whole words",
         u"cat concatenate cat"_s,
         u"cat"_s,
         u"dog"_s,
         {true, true},
         u"dog concatenate dog"_s,
         19},
        {"direction does not matter", u"a a"_s, u"a"_s, u"b"_s, {true, false, true}, u"b b"_s, 3},
    };
    // A long document's Replace All is found on a thread and made in steps.
    const auto replaceAll = [&] {
        press(form.ReplaceDialog1, "ReplaceAll");
        QElapsedTimer waited;
        waited.start();
        while (form.busy() && waited.elapsed() < 30000) QCoreApplication::processEvents();
    };
    const QString longer = u"=\n"_s.repeated(TForm1::kStepwiseReplaceCharacters / 2);
    for (const QString& filler : {QString(), longer}) {
        SCOPED_TRACE(filler.size());
        for (const auto& c : cases) {
            SCOPED_TRACE(c.what);
            form.Memo1->clear();
            form.Memo1->document()->clearUndoRedoStacks();
            form.Memo1->document()->setModified(false);
            QTest::keyClicks(form.Memo1, u"q "_s);  // an earlier edit that must survive the undo
            form.Memo1->insertPlainText(filler + c.text);
            const QString before = text();
            prompts.clearAsked();
            fill(form.ReplaceDialog1, c.find, c.choices, c.with);
            replaceAll();
            EXPECT_EQ(text(), u"q "_s + filler + c.expected);
            EXPECT_EQ(caret(), 2 + filler.size() + c.caret);
            EXPECT_TRUE(form.Memo1->document()->isModified());
            EXPECT_EQ(prompts.asked(), QStringList{});
            form.Memo1->undo();
            EXPECT_EQ(text(), before);
        }

        setText(filler + u"abc"_s);
        form.Memo1->document()->setModified(false);
        prompts.clearAsked();
        fill(form.ReplaceDialog1, u"x"_s, {}, u"y"_s);
        replaceAll();
        EXPECT_EQ(text(), filler + u"abc"_s);
        EXPECT_FALSE(form.Memo1->document()->isModified());
        EXPECT_EQ(prompts.asked(), QStringList{u"errorDialog:找不到「x」字串！"_s});
    }
}

TEST_F(FindTest, DialogsShowTheirTextsAndKeepTheirFields)
{
    const auto texts = [](FindReplaceDialog* dialog) {
        QStringList shown{dialog->windowTitle()};
        for (auto* label : dialog->findChildren<QLabel*>()) shown.append(label->text());
        for (auto* button : dialog->findChildren<QAbstractButton*>()) shown.append(button->text());
        for (auto* group : dialog->findChildren<QGroupBox*>()) shown.append(group->title());
        return shown;
    };
    EXPECT_EQ(
        texts(form.FindDialog1),
        (QStringList{u"尋找"_s, u"尋找目標(&N):"_s, u"全字拼寫須相符(&W)"_s, u"大小寫須相符(&C)"_s,
                     u"向上(&U)"_s, u"向下(&D)"_s, u"找下一個(&F)"_s, u"取消"_s, u"方向"_s}));
    EXPECT_EQ(texts(form.ReplaceDialog1),
              (QStringList{u"取代"_s, u"尋找目標(&N):"_s, u"取代為(&P):"_s, u"全字拼寫須相符(&W)"_s,
                           u"大小寫須相符(&C)"_s, u"向上(&U)"_s, u"向下(&D)"_s, u"找下一個(&F)"_s,
                           u"取代(&R)"_s, u"全部取代(&A)"_s, u"取消"_s, u"方向"_s}));
    for (FindReplaceDialog* dialog : {form.FindDialog1, form.ReplaceDialog1}) {
        EXPECT_FALSE(dialog->isModal());
        EXPECT_TRUE(in<QCheckBox>(dialog, "MatchCase")->isChecked());
        EXPECT_FALSE(in<QCheckBox>(dialog, "WholeWord")->isChecked());
        EXPECT_TRUE(in<QRadioButton>(dialog, "Down")->isChecked());
        EXPECT_FALSE(in<QPushButton>(dialog, "FindNext")->isEnabled());  // nothing to find yet
    }

    // Each dialog its own fields, kept through closing and showing again.
    form.findChild<QAction*>(u"N29"_s)->trigger();
    form.findChild<QAction*>(u"N30"_s)->trigger();
    fill(form.FindDialog1, u"one"_s, {false, true, true});
    fill(form.ReplaceDialog1, u"two"_s, {}, u"three"_s);
    press(form.FindDialog1, "Cancel");
    press(form.ReplaceDialog1, "Cancel");
    EXPECT_FALSE(form.FindDialog1->isVisible());
    form.findChild<QAction*>(u"N29"_s)->trigger();
    form.findChild<QAction*>(u"N30"_s)->trigger();
    EXPECT_TRUE(form.FindDialog1->isVisible());
    EXPECT_EQ(form.FindDialog1->findText(), u"one"_s);
    EXPECT_TRUE(form.FindDialog1->options().backward);
    EXPECT_TRUE(form.FindDialog1->options().wholeWord);
    EXPECT_FALSE(form.FindDialog1->options().matchCase);
    EXPECT_EQ(form.ReplaceDialog1->findText(), u"two"_s);
    EXPECT_EQ(form.ReplaceDialog1->replaceText(), u"three"_s);
    EXPECT_TRUE(form.ReplaceDialog1->options().matchCase);
}

TEST_F(FindTest, FieldsHoldAtMost255Big5Bytes)
{
    const auto big5Size = [](const QString& s) {
        return text::EncodeBig5(s, text::Unencodable::Fail).bytes.size();
    };
    for (const char* name : {"FindText", "ReplaceText"}) {
        SCOPED_TRACE(name);
        QLineEdit* field = in<QLineEdit>(form.ReplaceDialog1, name);
        field->clear();
        for (int i = 0; i < 130; ++i) {  // typed one by one
            QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, u"中"_s);
            QApplication::sendEvent(field, &key);
        }
        EXPECT_EQ(field->text(), QString(127, u'中'));
        QTest::keyClicks(field, u"ab"_s);  // one byte left: the a fits, the b not
        EXPECT_EQ(field->text(), QString(127, u'中') + u'a');

        // A long insertion in the middle keeps both ends and is cut itself,
        // never through a character.
        field->setText(u"ab"_s);
        field->setCursorPosition(1);
        field->insert(u"x"_s + QString(200, u'文'));
        EXPECT_EQ(field->text(), u"ax"_s + QString(126, u'文') + u'b');
        EXPECT_EQ(big5Size(field->text()), 255);
        EXPECT_EQ(field->cursorPosition(), 128);
        field->setText(QString(300, u'x'));
        EXPECT_EQ(field->text(), QString(255, u'x'));
        // A field holds one line: a pasted line break ends what it takes.
        field->setText(u"ab"_s);
        field->setCursorPosition(1);
        field->insert(u"x\ny"_s);
        EXPECT_EQ(field->text(), u"axb"_s);
    }
    // Placeholders of kept bytes are one byte each; surrogate pairs stay whole.
    const QString kept = QString::fromUcs4(U"\U000F0081");
    EXPECT_EQ(Big5FittingLength(QString(3, u'a') + kept + kept, 4), 5);
    EXPECT_EQ(Big5FittingLength(u"中中中"_s, 5), 2);
}

TEST_F(FindTest, FindNextHandsTheKeyboardToThePostInBothDialogs)
{
    for (FindReplaceDialog* dialog : {form.FindDialog1, form.ReplaceDialog1}) {
        setText(u"one two one"_s);
        select(0, 0);
        dialog->showInFront();
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == dialog; }));
        fill(dialog, u"two"_s, {});
        press(dialog, "FindNext");
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &form; }));
        EXPECT_EQ(QApplication::focusWidget(), form.Memo1);
        EXPECT_TRUE(dialog->isVisible());
        QTest::keyClicks(QApplication::focusWidget(), u"2"_s);
        EXPECT_EQ(text(), u"one 2 one"_s);
        dialog->close();
    }
}

}  // namespace
