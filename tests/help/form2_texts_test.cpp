// The texts on the three pages of the help dialog, character for character:
// the indents, the empty lines and the trailing spaces included.
#include <gtest/gtest.h>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>

#include "help/form2.h"

using namespace Qt::Literals::StringLiterals;

namespace {

QLabel* LabelNamed(const help::TForm2& form, const QString& name)
{
    auto* label = form.findChild<QLabel*>(name);
    EXPECT_NE(label, nullptr) << name.toStdString();
    return label;
}

}  // namespace

TEST(Form2Texts, VersionPage)
{
    const help::TForm2 form;
    EXPECT_EQ(form.PageControl1->tabText(0), u"版本"_s);
    EXPECT_EQ(form.findChild<QGroupBox*>(u"GroupBox1"_s)->title(), u"Quillpost 4.0"_s);
    EXPECT_EQ(LabelNamed(form, u"Label1"_s)->text(), u"(免費軟體)"_s);
    EXPECT_EQ(LabelNamed(form, u"Label2"_s)->text(), u"■有需要改進的地方，歡迎指教！"_s);
    EXPECT_EQ(LabelNamed(form, u"Label3"_s)->text(),
              u"■說明：\n"
              u"\n"
              u"    ●4.0版：\n"
              u"\n"
              u"      ◎本版提供論壇發文表單所使用的YBB語法編輯。\n"
              u"\n"
              u"      ◎適用於常見論壇網站的發文編輯器。\n"
              u"\n"
              u"      ◎其他採用YBB語法的發文區也一樣適用。\n"
              u"\n"
              u"    ●編修後，按「複製」按鈕，就幫你傳至剪貼簿。\n"
              u"\n"
              u"    ●新增 「HTML語法」轉換「純文字」功能。"_s);
}

TEST(Form2Texts, VersionNotesSpaceEveryItemWithAnEmptyLine)
{
    // Every entry of the notes, the three bullet items included, is set
    // apart by one empty line; at 13 pixels the lines would touch otherwise.
    const help::TForm2 form;
    const QStringList lines = LabelNamed(form, u"Label3"_s)->text().split(u'\n');
    ASSERT_EQ(lines.size(), 13);
    for (const int i : {4, 6, 8}) {
        EXPECT_TRUE(lines[i].startsWith(u"      ◎"_s)) << i;
        EXPECT_FALSE(lines[i].startsWith(u"       "_s)) << "six spaces, not seven: " << i;
        EXPECT_GT(lines[i].size(), 8) << "an item says something: " << i;
    }
    for (int i = 1; i < lines.size(); i += 2) EXPECT_TRUE(lines[i].isEmpty()) << i;
    EXPECT_TRUE(lines[10].startsWith(u"    ●編修後"_s));
    EXPECT_TRUE(lines[12].startsWith(u"    ●新增"_s));
    EXPECT_FALSE(lines.join(QString()).contains(u'\r')) << "lines are shown as lines";
}

TEST(Form2Texts, UsagePage)
{
    const help::TForm2 form;
    EXPECT_EQ(form.PageControl1->tabText(1), u"使用方式"_s);
    EXPECT_TRUE(form.findChild<QGroupBox*>(u"GroupBox2"_s)->title().isEmpty());
    EXPECT_EQ(LabelNamed(form, u"Label4"_s)->text(),
              u"使用技巧：\n"
              u"\n"
              u"一、一般操作技巧：\n"
              u"  1.先打入內容文字。\n"
              u"  2.選擇你要變更的文字。\n"
              u"  3.選取[B]按鈕。\n"
              u"  4.檔案選單-->網頁預覽。\n"
              u"   \n"
              u"二、超連結、電子信箱、圖片、項目列： \n"
              u"    直接加入，不用選擇文字，填入相關文字即可。\n"
              u"\n"
              u"三、符號表中「刮號」與第一項操作相同，\n"
              u"    亦可直接加入編輯區中。\n"
              u"\n"
              u"四、YBB字型工具列操作方式：與第一項相同。"_s);
}

TEST(Form2Texts, CautionsPage)
{
    const help::TForm2 form;
    EXPECT_EQ(form.PageControl1->tabText(2), u"注意事項"_s);
    EXPECT_TRUE(form.findChild<QGroupBox*>(u"GroupBox3"_s)->title().isEmpty());
    EXPECT_EQ(LabelNamed(form, u"Label5"_s)->text(),
              u"使用注意事項： \n"
              u"\n"
              u"若要轉成HTML，記得不要改「YBB字型工具列」\n"
              u"\n"
              u"跑出來的文字，因為每組[ ]前後都要空一格。\n"
              u"\n"
              u"例如：\n"
              u"\n"
              u"正確空格(表示空格： _ ) ：\n"
              u"\n"
              u"_[font=Arial]_YBB字型工具列_[/font=Arial]_\n"
              u"\n"
              u"錯誤：\n"
              u"\n"
              u" [font=Arial]YBB字型工具列[/font=Arial]"_s);
}

TEST(Form2Texts, LabelsShowTheirTextVerbatim)
{
    // Rich-text interpretation or wrapping would eat the indents and the
    // "-->" arrow; every label must show its text as written.
    const help::TForm2 form;
    for (const char* name : {"Label1", "Label2", "Label3", "Label4", "Label5"}) {
        const QLabel* label = LabelNamed(form, QString::fromLatin1(name));
        EXPECT_EQ(label->textFormat(), Qt::PlainText) << name;
        EXPECT_FALSE(label->wordWrap()) << name;
    }
}
