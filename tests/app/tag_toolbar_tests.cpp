#include <QComboBox>

#include "app/form_fixture.h"
#include "text/big5_codec.h"

using namespace Qt::Literals::StringLiterals;

namespace {

using TagToolbarTest = FormTest;

const QString kList =
    u"[list][*]這裡填入項目文字[/*][*]這裡填入項目文字[/*][*]這裡填入項目文字[/*][/list]"_s;

TEST_F(TagToolbarTest, WrappingButtonsWithAndWithoutASelection)
{
    const QList<std::tuple<const char*, QString, QString>> buttons = {
        {"SpeedButton1", u"[b]"_s, u"[/b]"_s},
        {"SpeedButton2", u"[i]"_s, u"[/i]"_s},
        {"SpeedButton3", u"[u]"_s, u"[/u]"_s},
        {"SpeedButton4", u"[s]"_s, u"[/s]"_s},
        {"SpeedButton5", u"[left]"_s, u"[/left]"_s},
        {"SpeedButton6", u"[center]"_s, u"[/center]"_s},
        {"SpeedButton7", u"[right]"_s, u"[/right]"_s},
        {"SpeedButton12", u"[code]"_s, u"[/code]"_s},
        {"SpeedButton13", u"[quote]"_s, u"[/quote]"_s},
    };
    for (const auto& [name, opening, closing] : buttons) {
        setText(u"x abc y"_s);
        select(2, 5);
        button(name)->click();
        EXPECT_EQ(text(), u"x "_s + opening + u"abc"_s + closing + u" y"_s) << name;
        EXPECT_EQ(caret(), 5 + opening.size() + closing.size()) << name;
        EXPECT_FALSE(hasSelection()) << name;

        setText(u"xy"_s);
        select(1, 1);
        button(name)->click();
        EXPECT_EQ(text(), u"x"_s + opening + closing + u"y"_s) << name;
        EXPECT_EQ(caret(), 1 + opening.size() + closing.size()) << name;
    }
}

TEST_F(TagToolbarTest, SnippetsReplaceTheSelection)
{
    const QList<QPair<const char*, QString>> snippets = {
        {"SpeedButton9", u"[url=\"這裡輸入網址\"]請輸入超連結文字[/url]"_s},
        {"SpeedButton10", u"[url=\"mailto:請輸入電子信箱\"]請輸入簡短稱呼[/url]"_s},
        {"SpeedButton11", u"[img]請輸入圖片網址[/img]"_s},
    };
    for (const auto& [name, snippet] : snippets) {
        setText(u"a selected b"_s);
        select(2, 10);
        button(name)->click();
        EXPECT_EQ(text(), u"a "_s + snippet + u" b"_s) << name;
        EXPECT_EQ(caret(), 2 + snippet.size()) << name;
        EXPECT_FALSE(hasSelection());
    }
}

TEST_F(TagToolbarTest, RuleAndListAppendAtTheEndLeavingTheSelection)
{
    setText(u"abc"_s);
    select(0, 2);
    button("SpeedButton14")->click();
    EXPECT_EQ(text(), u"abc\n"_s + kList);
    EXPECT_EQ(caret(), int(text().size()));
    EXPECT_FALSE(hasSelection());

    setText(u""_s);
    button("SpeedButton8")->click();
    EXPECT_EQ(text(), u"[hr]\n"_s);
    button("SpeedButton8")->click();
    EXPECT_EQ(text(), u"[hr]\n[hr]\n"_s);
}

TEST_F(TagToolbarTest, SnippetsHaveTheirBig5Lengths)
{
    const QList<QPair<const char*, int>> snippets = {
        {"SpeedButton9", 42}, {"SpeedButton10", 49}, {"SpeedButton11", 25}, {"SpeedButton14", 82}};
    for (const auto& [name, bytes] : snippets) {
        setText(u""_s);
        button(name)->click();
        const QString inserted = text().endsWith(u'\n') ? text().chopped(1) : text();
        const text::Big5Encoded encoded = text::EncodeBig5(inserted, text::Unencodable::Fail);
        ASSERT_TRUE(encoded.ok()) << name;
        EXPECT_EQ(encoded.bytes.size(), bytes) << name;
    }
}

TEST_F(TagToolbarTest, ButtonsLeaveTheFocusWhereItWas)
{
    form.ComboBox1->setFocus();
    QApplication::processEvents();
    setText(u"abc"_s);
    select(0, 3);
    QTest::mouseClick(button("SpeedButton1"), Qt::LeftButton);
    EXPECT_EQ(text(), u"[b]abc[/b]"_s);
    EXPECT_TRUE(form.ComboBox1->hasFocus());
}

TEST_F(TagToolbarTest, OneUndoTakesAnInsertionBackAndTheDocumentIsModified)
{
    setText(u"abc"_s);
    form.Memo1->document()->setModified(false);
    select(0, 3);
    button("SpeedButton6")->click();
    EXPECT_TRUE(form.Memo1->document()->isModified());
    form.Memo1->undo();
    EXPECT_EQ(text(), u"abc"_s);
}

}  // namespace
