// The font bar, the symbol bar and the post skeletons, driven through the
// window's own controls.
#include <QComboBox>
#include <QLineEdit>

#include "app/form_fixture.h"

using namespace Qt::Literals::StringLiterals;

namespace {

using ComposeTest = FormTest;

void Pick(QComboBox* box, const QString& entry)
{
    const int index = box->findText(entry);
    ASSERT_GE(index, 0);
    box->setCurrentIndex(index);
    Q_EMIT box->activated(index);  // what a pick from the list sends
}

TEST_F(ComposeTest, EachBoxWrapsTheSelectionInItsTags)
{
    setText(u"abc"_s);
    select(0, 3);
    Pick(form.ComboBox1, u"Arial"_s);
    EXPECT_EQ(text(), u"[font=Arial] abc[/font=Arial] "_s);
    EXPECT_EQ(caret(), int(text().size()));

    setText(u"abc"_s);
    select(0, 3);
    Pick(form.ComboBox2, u"3"_s);
    EXPECT_EQ(text(), u"[size=3] abc[/size=3] "_s);

    setText(u"abc"_s);
    select(0, 3);
    Pick(form.ComboBox3, u"red"_s);
    EXPECT_EQ(text(), u" [red] abc[/red] "_s);
    EXPECT_FALSE(hasSelection());
}

TEST_F(ComposeTest, WithoutASelectionTheTagsGoToTheCaret)
{
    setText(u""_s);
    Pick(form.ComboBox1, u"Verdana"_s);
    EXPECT_EQ(text(), u"[font=Verdana] [/font=Verdana] "_s);
    EXPECT_EQ(caret(), int(text().size()));
}

TEST_F(ComposeTest, TwoPicksWrapOnceThenInsertAnEmptyPair)
{
    setText(u"abc"_s);
    select(0, 3);
    Pick(form.ComboBox3, u"red"_s);
    Pick(form.ComboBox3, u"blue"_s);
    EXPECT_EQ(text(), u" [red] abc[/red]  [blue] [/blue] "_s);
}

TEST_F(ComposeTest, TypedValuesAreUsedUnchangedOneRunPerEdit)
{
    setText(u"abc"_s);
    select(0, 3);
    form.ComboBox3->lineEdit()->clear();
    form.ComboBox3->setFocus();
    // Typing two characters is two edits: two runs, the second at the caret.
    QTest::keyClicks(form.ComboBox3->lineEdit(), u"Xy"_s);
    EXPECT_EQ(text(), u" [X] abc[/X]  [Xy] [/Xy] "_s);
    EXPECT_TRUE(form.ComboBox3->lineEdit()->hasFocus());

    setText(u"q"_s);
    form.ComboBox1->lineEdit()->selectAll();
    QTest::keyClick(form.ComboBox1->lineEdit(), Qt::Key_Backspace);
    EXPECT_EQ(text(), u"q[font=] [/font=] "_s);
}

TEST_F(ComposeTest, ArrowKeysPickTheNextEntry)
{
    setText(u""_s);
    form.ComboBox2->setFocus();
    form.ComboBox2->setCurrentIndex(0);
    QTest::keyClick(form.ComboBox2, Qt::Key_Down);
    EXPECT_EQ(text(), u"[size=2] [/size=2] "_s);
}

TEST_F(ComposeTest, SettingUpTheWindowRunsNoBoxHandler)
{
    EXPECT_EQ(text(), u""_s);
    EXPECT_FALSE(form.Memo1->document()->isModified());
}

TEST_F(ComposeTest, SymbolButtonsWrapOrInsertTheirExactTexts)
{
    const QList<std::tuple<const char*, QString, QString>> pairs = {
        {"SpeedButton25", u"【"_s, u"】"_s}, {"SpeedButton26", u"「"_s, u"」"_s},
        {"SpeedButton27", u"『"_s, u"』"_s}, {"SpeedButton28", u"〈"_s, u"〉"_s},
        {"SpeedButton29", u"《"_s, u"》"_s}, {"SpeedButton30", u"〔"_s, u"〕"_s},
        {"SpeedButton31", u"｛"_s, u"｝"_s}, {"SpeedButton32", u"( "_s, u" )"_s},
        {"SpeedButton33", u"["_s, u"]"_s},
    };
    for (const auto& [name, opening, closing] : pairs) {
        setText(u"abc"_s);
        select(0, 3);
        button(name)->click();
        EXPECT_EQ(text(), opening + u"abc"_s + closing) << name;
        EXPECT_EQ(caret(), int(text().size())) << name;
    }
    const QList<QPair<const char*, QString>> singles = {
        {"SpeedButton34", u"←"_s},
        {"SpeedButton35", u"→"_s},
        {"SpeedButton36", u"●"_s},
        {"SpeedButton41", u"○"_s},
        {"SpeedButton37", u"★"_s},
        {"SpeedButton38", u"☆"_s},
        {"SpeedButton39", u"■"_s},
        {"SpeedButton40", u"□"_s},
        {"SpeedButton42", u"，"_s},
        {"SpeedButton43", u"。"_s},
        {"SpeedButton44", QString(QChar(0xFE56))},
        {"SpeedButton45", u"※"_s},
        {"SpeedButton46", u"＠"_s},
    };
    for (const auto& [name, symbol] : singles) {
        setText(u"abc"_s);
        select(1, 2);
        button(name)->click();
        EXPECT_EQ(text(), u"a"_s + symbol + u"c"_s) << name;
        EXPECT_EQ(button(name)->text(), symbol) << name;
        EXPECT_EQ(button(name)->focusPolicy(), Qt::NoFocus) << name;
    }
}

TEST_F(ComposeTest, CustomSymbolIsInsertedUnchangedAndEmptyDoesNothing)
{
    setText(u"abc"_s);
    select(0, 3);
    form.Edit1->clear();
    button("SpeedButton47")->click();
    EXPECT_EQ(text(), u"abc"_s);
    EXPECT_TRUE(hasSelection());

    form.Edit1->setText(u"  "_s);
    button("SpeedButton47")->click();
    EXPECT_EQ(text(), u"  "_s);

    form.Edit1->setText(u"♪♫"_s);
    QTest::mouseDClick(form.Edit1, Qt::LeftButton);
    EXPECT_EQ(form.Edit1->text(), u""_s);
    button("SpeedButton47")->click();
    EXPECT_EQ(text(), u"  "_s);
}

TEST_F(ComposeTest, CustomSymbolGroupUncoversTheLastButtonsAsTheWindowWidens)
{
    QWidget* last = button("SpeedButton46");
    EXPECT_GT(last->x() + last->width(), form.Panel5->x());
    form.resize(form.width() + 135, form.height());
    QApplication::processEvents();
    EXPECT_LE(last->x() + last->width(), form.Panel5->x());
}

TEST_F(ComposeTest, SkeletonsAppendOneLinePerLabel)
{
    setText(u""_s);
    action("N33")->trigger();
    EXPECT_EQ(text(), u"【主題】\n【內文】\n"_s);

    setText(u"abc"_s);
    select(0, 1);
    action("N33")->trigger();
    EXPECT_EQ(text(), u"abc\n【主題】\n【內文】"_s);
    EXPECT_EQ(caret(), int(text().size()));

    setText(u"abc\n"_s);
    action("N36")->trigger();
    action("N35")->trigger();
    EXPECT_EQ(text(), u"abc\n【範例】\n【說明】\n【轉貼來源】\n【內文說明】\n"_s);

    setText(u""_s);
    action("N34")->trigger();
    action("N41")->trigger();
    EXPECT_EQ(text(), u"【問題】\n【期望】\n【內文】\n【文章】\n【作者】\n【內文】\n"_s);

    setText(u""_s);
    action("N56")->trigger();
    EXPECT_EQ(text(),
              u"【軟體名稱】\n【軟體版本】\n【軟體語系】\n【作業系統】\n【官方網站】\n"
              u"【直接下載】\n【中 文 化】\n【軟體說明】\n"_s);
    form.Memo1->undo();
    EXPECT_EQ(text(), u""_s);
}

TEST_F(ComposeTest, PostingTimeAtAFixedTimeAndAtMidnight)
{
    // The regional formats themselves are the system's; the line is the label,
    // the short date and, but at midnight, a space and the time.
    const QString date = QLocale::system().toString(QDate(2026, 12, 8), QLocale::ShortFormat);
    clock.time = QDateTime(QDate(2026, 12, 8), QTime(9, 30, 15));
    setText(u""_s);
    action("N38")->trigger();
    EXPECT_TRUE(text().startsWith(u"發表時間："_s + date + u' ')) << text().toStdString();
    EXPECT_TRUE(text().contains(u"30:15"_s));
    EXPECT_TRUE(text().endsWith(u'\n'));

    clock.time = QDateTime(QDate(2026, 12, 8), QTime(0, 0, 0));
    setText(u"x"_s);
    action("N38")->trigger();
    EXPECT_EQ(text(), u"x\n發表時間："_s + date);
}

}  // namespace
