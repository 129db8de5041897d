#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QResource>
#include <QStatusBar>
#include <QStyleFactory>
#include <QTabWidget>
#include <QToolButton>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "app/form_fixture.h"
#include "help/form2.h"
#include "look/app_style.h"
#include "look/program_icon.h"
#include "tray/image_list.h"

using namespace Qt::Literals::StringLiterals;

namespace {

using WindowTest = FormTest;

TEST_F(WindowTest, StartsUntitledOnTheSourcePageWithEverythingChecked)
{
    EXPECT_EQ(form.windowTitle(), u"Quillpost 4.0--未命名"_s);
    EXPECT_EQ(form.currentFileName(), u"\\0"_s);
    EXPECT_EQ(form.statusPanelText(0), u"  行: 1  列: 1"_s);
    for (const char* name : {"N24", "N39", "YBB1", "YBB2", "W1", "N42"}) {
        ASSERT_NE(action(name), nullptr) << name;
        EXPECT_TRUE(action(name)->isChecked()) << name;
    }
    EXPECT_EQ(form.PageControl1->currentWidget(), form.TabSheet1);
    EXPECT_EQ(form.PageControl1->tabText(0), u"原始碼編輯"_s);
    EXPECT_EQ(form.PageControl1->tabText(1), u"預覽結果"_s);
    EXPECT_EQ(form.frameGeometry().size(), QSize(676, 512));
    EXPECT_FALSE(form.Memo1->document()->isModified());
    EXPECT_EQ(form.Memo1->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(prompts.asked(), QStringList{});
}

TEST_F(WindowTest, MainMenuCaptionsShortcutsAndOrder)
{
    QStringList titles;
    for (QAction* top : form.menuBar()->actions()) titles << top->text();
    EXPECT_EQ(titles,
              (QStringList{u"檔案(&F)"_s, u"編輯(&E)"_s, u"檢視(&V)"_s, u"尋找(&S)"_s,
                           u"設定(&O)"_s, u"文章格式(&K)"_s, u"轉換(&T)"_s, u"說明(&H)"_s}));

    // name, caption, shortcut, in menu order; "-" for a separator
    const QStringList expected = {
        u"N7|開啟新檔|Ctrl+N"_s,
        u"N9|開啟舊檔...|Ctrl+O"_s,
        u"N27|儲存檔案|Ctrl+S"_s,
        u"N11|另存檔案(&A)...|F2"_s,
        u"N61|儲存編碼|"_s,
        u"-"_s,
        u"N5|傳至剪貼簿|F12"_s,
        u"-"_s,
        u"N26|列印|Ctrl+P"_s,
        u"-"_s,
        u"N15|關閉程式(&X)|"_s,
        u"N16|復    原|Ctrl+Z"_s,
        u"N23|重    做|Ctrl+Y"_s,
        u"-"_s,
        u"N18|剪    下|Ctrl+X"_s,
        u"N19|複    製|Ctrl+C"_s,
        u"N20|貼    上|Ctrl+V"_s,
        u"N60|貼上為標籤|Ctrl+Shift+V"_s,
        u"N64|複製為|"_s,
        u"-"_s,
        u"N37|清除內容|Ctrl+Del"_s,
        u"-"_s,
        u"N22|全    選|Ctrl+A"_s,
        u"N24|一般工具列|"_s,
        u"N39|符號表工具列|"_s,
        u"YBB1|YBB格式工具列|"_s,
        u"YBB2|YBB字型工具列|"_s,
        u"N54|-"_s,
        u"N55|亮度文字特效|"_s,
        u"-"_s,
        u"N58|標籤上色|"_s,
        u"N57|即時預覽|F6"_s,
        u"N73|英文拼字檢查|"_s,
        u"N74|拼字檢查字典|"_s,
        u"N29|尋找(&F)|Ctrl+F"_s,
        u"N30|取代(&R)|Ctrl+R"_s,
        u"N31|設定編輯區字型|F10"_s,
        u"-"_s,
        u"W1|自動換行(&W)|"_s,
        u"-"_s,
        u"N42|隱藏主視窗|F9"_s,
        u"N33|[自    訂]|"_s,
        u"N34|[發    問]|"_s,
        u"N36|[範    例]|"_s,
        u"N35|[轉    貼]|"_s,
        u"N41|[電子報]|"_s,
        u"N56|[軟體分享]|"_s,
        u"N32|-"_s,
        u"N38|發表時間|F5"_s,
        u"XTHTML1|( YBB )->( HTML )|"_s,
        u"HTML1|(HTML)->(純文字)|"_s,
        u"-"_s,
        u"N59|檢查標籤|"_s,
        u"-"_s,
        u"N69|簡體→繁體（臺灣用語）|"_s,
        u"N70|簡體→繁體（香港）|"_s,
        u"N71|繁體→簡體|"_s,
        u"N72|繁體→臺灣正體|"_s,
        u"N8|關於...(&A)|"_s,
    };
    QStringList actual;
    for (QAction* top : form.menuBar()->actions())
        for (QAction* entry : top->menu()->actions()) {
            const QString name = entry->objectName();
            if (entry->isSeparator())
                actual << (name.isEmpty() ? u"-"_s : name + u"|-"_s);
            else
                actual << name + u'|' + entry->text() + u'|' +
                              entry->shortcut().toString(QKeySequence::PortableText);
        }
    EXPECT_EQ(actual, expected);
    EXPECT_FALSE(action("N54")->isVisible());
    EXPECT_FALSE(action("N55")->isVisible());
    // The composing aids' check items start off.
    EXPECT_FALSE(action("N57")->isChecked());
    EXPECT_FALSE(action("N58")->isChecked());
    EXPECT_FALSE(action("N73")->isChecked());
}

TEST_F(WindowTest, ContextMenuHasNoShortcutsAndNoRedo)
{
    QStringList actual;
    for (QAction* entry : form.PopupMenu1->actions())
        actual << entry->objectName() + u'|' + (entry->isSeparator() ? u"-"_s : entry->text()) +
                      u'|' + entry->shortcut().toString();
    EXPECT_EQ(actual,
              (QStringList{u"N44|復        原(&U)|"_s, u"N45|-|"_s, u"N46|剪        下(&T)|"_s,
                           u"N47|複        製(&C)|"_s, u"N48|貼        上(&P)|"_s, u"N49|-|"_s,
                           u"N51|清空內容(&D)|"_s, u"N50|-|"_s, u"N52|全        選(&A)|"_s}));
}

TEST_F(WindowTest, EveryToolbarButtonShowsItsHint)
{
    const QList<QPair<const char*, QString>> hints = {
        {"SpeedButton16", u"開啟新檔"_s},     {"SpeedButton18", u"開啟檔案"_s},
        {"SpeedButton49", u"儲存檔案"_s},     {"SpeedButton19", u"另存檔案"_s},
        {"SpeedButton50", u"列印"_s},         {"SpeedButton22", u"剪下"_s},
        {"SpeedButton23", u"複製"_s},         {"SpeedButton24", u"貼上"_s},
        {"SpeedButton17", u"復原"_s},         {"SpeedButton48", u"重做"_s},
        {"SpeedButton15", u"傳至剪貼簿"_s},   {"SpeedButton51", u"插入文章"_s},
        {"SpeedButton20", u"說明"_s},         {"SpeedButton1", u"粗體"_s},
        {"SpeedButton2", u"斜體"_s},          {"SpeedButton3", u"底線"_s},
        {"SpeedButton4", u"刪除線"_s},        {"SpeedButton5", u"靠左"_s},
        {"SpeedButton6", u"置中"_s},          {"SpeedButton7", u"靠右"_s},
        {"SpeedButton8", u"加入水平線"_s},    {"SpeedButton9", u"加入超連結"_s},
        {"SpeedButton10", u"加入電子信箱"_s}, {"SpeedButton11", u"加入圖片"_s},
        {"SpeedButton12", u"保留文章結構"_s}, {"SpeedButton13", u"引言"_s},
        {"SpeedButton14", u"加入項目"_s},
    };
    for (const auto& [name, hint] : hints) {
        QToolButton* b = button(name);
        ASSERT_NE(b, nullptr) << name;
        EXPECT_EQ(b->toolTip(), hint) << name;
        EXPECT_EQ(b->accessibleName(), hint) << name;
        EXPECT_EQ(b->focusPolicy(), Qt::NoFocus) << name;
        EXPECT_FALSE(b->icon().isNull()) << name;
    }
    EXPECT_EQ(button("SpeedButton1")->parentWidget(), form.Panel1);
    EXPECT_EQ(button("SpeedButton16")->parentWidget(), form.Panel2);
    // The help button keeps to the right edge of the general toolbar.
    EXPECT_GT(button("SpeedButton20")->x(), form.Panel2->width() - 50);
}

// The pictures are drawn into PNGs at build time and read when first shown:
// each must come at the size asked for, drawn or scaled, and look disabled
// when its button is.
TEST_F(WindowTest, PicturesComeAtEverySizeAndLookDisabledWhenOff)
{
    const auto opaquePixels = [](const QPixmap& pixmap) {
        const QImage image = pixmap.toImage();
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) count += qAlpha(image.pixel(x, y)) > 0;
        return count;
    };
    QList<QPair<QString, QIcon>> icons;
    for (QToolButton* b : form.findChildren<QToolButton*>())
        if (b->objectName().startsWith(u"SpeedButton"_s) && !b->icon().isNull())
            icons.append({b->objectName(), b->icon()});
    ASSERT_GE(icons.size(), 28);
    for (int i = 0; i < form.ImageList1->count(); ++i)
        icons.append({u"tray frame %1"_s.arg(i), form.ImageList1->icon(i)});
    icons.append({u"window"_s, form.windowIcon()});
    for (const auto& [name, icon] : icons) {
        // 22 and 44 are drawn for the toolbar, 16 and 32 for the tray and the
        // window; 30 and 40 are not drawn for any.
        for (const int side : {16, 22, 30, 32, 40, 44}) {
            const QPixmap normal = icon.pixmap(QSize(side, side));
            ASSERT_EQ(normal.size(), QSize(side, side)) << name.toStdString() << ' ' << side;
            EXPECT_GT(opaquePixels(normal), side) << name.toStdString() << ' ' << side;
        }
        const QPixmap sharp = icon.pixmap(QSize(22, 22), 2.0);
        EXPECT_EQ(sharp.deviceIndependentSize(), QSizeF(22, 22)) << name.toStdString();
        EXPECT_EQ(sharp.size(), QSize(44, 44)) << name.toStdString();
        EXPECT_NE(icon.pixmap(QSize(22, 22), QIcon::Disabled).toImage(),
                  icon.pixmap(QSize(22, 22)).toImage())
            << name.toStdString();
    }
}

TEST_F(WindowTest, FontBarBoxesStartWithTheirTexts)
{
    EXPECT_EQ(form.ComboBox1->currentText(), u"Arial"_s);
    EXPECT_EQ(form.ComboBox2->currentText(), u"1"_s);
    EXPECT_EQ(form.ComboBox3->currentText(), u"black"_s);
    EXPECT_EQ(form.ComboBox1->count(), 16);
    EXPECT_EQ(form.ComboBox1->itemText(15), u"Verdana"_s);
    EXPECT_EQ(form.ComboBox3->itemText(13), u"limegreen"_s);
    EXPECT_EQ(form.ComboBox1->toolTip(), u"字型設定"_s);
    EXPECT_EQ(form.ComboBox2->width(), 64);
}

TEST_F(WindowTest, NewAsksOnlyForAModifiedDocument)
{
    setText(u"draft"_s);
    form.Memo1->document()->setModified(false);
    button("SpeedButton16")->click();
    EXPECT_EQ(text(), u""_s);
    EXPECT_EQ(prompts.asked(), QStringList{});

    setText(u"draft"_s);
    form.Memo1->document()->setModified(true);
    prompts.confirmAnswers = {false};
    action("N7")->trigger();
    EXPECT_EQ(text(), u"draft"_s);
    EXPECT_TRUE(form.Memo1->document()->isModified());
    EXPECT_EQ(prompts.asked(), QStringList{u"confirm:開啟新檔-確認視窗|未存檔！是否繼續？"_s});

    prompts.confirmAnswers = {true};
    action("N7")->trigger();
    EXPECT_EQ(text(), u""_s);
    EXPECT_FALSE(form.Memo1->document()->isModified());
    EXPECT_EQ(form.windowTitle(), u"Quillpost 4.0--未命名"_s);
    EXPECT_EQ(form.currentFileName(), u"\\0"_s);
}

TEST_F(WindowTest, ClosingAModifiedDocumentAsksFirst)
{
    form.Memo1->insertPlainText(u"unsaved"_s);
    prompts.confirmAnswers = {false};
    action("N15")->trigger();
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(text(), u"unsaved"_s);
    EXPECT_EQ(prompts.asked(), QStringList{u"confirm:關閉程式-確認視窗|未存檔！是否繼續？"_s});

    prompts.confirmAnswers = {true};
    action("N15")->trigger();
    EXPECT_FALSE(form.isVisible());
}

TEST_F(WindowTest, UnmodifiedDocumentClosesWithoutAQuestion)
{
    setText(u"kept"_s);
    form.Memo1->document()->setModified(false);
    form.close();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(prompts.asked(), QStringList{});
}

TEST_F(WindowTest, ToolbarSwitchesHideAndShowTheirPanels)
{
    const QList<QPair<const char*, QWidget*>> switches = {
        {"N24", form.Panel2}, {"N39", form.Panel4}, {"YBB1", form.Panel1}, {"YBB2", form.Panel3}};
    for (const auto& [name, panel] : switches) {
        action(name)->trigger();
        EXPECT_FALSE(action(name)->isChecked()) << name;
        EXPECT_FALSE(panel->isVisible()) << name;
        action(name)->trigger();
        EXPECT_TRUE(action(name)->isChecked()) << name;
        EXPECT_TRUE(panel->isVisible()) << name;
    }
    // With the general toolbar hidden the bars below move up.
    const int top = form.Panel1->y();
    action("N24")->trigger();
    QApplication::processEvents();
    EXPECT_LT(form.Panel1->y(), top);
}

TEST_F(WindowTest, WordWrapFollowsItsCheckMark)
{
    action("W1")->trigger();
    EXPECT_FALSE(action("W1")->isChecked());
    EXPECT_EQ(form.Memo1->lineWrapMode(), QPlainTextEdit::NoWrap);
    action("W1")->trigger();
    EXPECT_EQ(form.Memo1->lineWrapMode(), QPlainTextEdit::WidgetWidth);
}

TEST_F(WindowTest, FontDialogKeepsTheLastConfirmedFont)
{
    const QFont before = form.Memo1->font();
    prompts.fontAnswers = {std::nullopt};
    action("N31")->trigger();
    EXPECT_EQ(form.Memo1->font(), before);
    ASSERT_EQ(prompts.fontsOffered().size(), 1);
    EXPECT_EQ(prompts.fontsOffered()[0].pixelSize(), 16);

    QFont chosen(u"Noto Sans CJK TC"_s);
    chosen.setPixelSize(24);
    prompts.fontAnswers = {chosen};
    action("N31")->trigger();
    EXPECT_EQ(form.Memo1->font().pixelSize(), 24);

    // Changing the area's font elsewhere does not pre-set the dialog.
    QFont other = form.Memo1->font();
    other.setPixelSize(30);
    form.Memo1->setFont(other);
    prompts.fontAnswers = {std::nullopt};
    action("N31")->trigger();
    ASSERT_EQ(prompts.fontsOffered().size(), 3);
    EXPECT_EQ(prompts.fontsOffered()[2].pixelSize(), 24);
}

TEST_F(WindowTest, HelpShowsOneDialogAndTheWindowStaysUsable)
{
    button("SpeedButton20")->click();
    action("N8")->trigger();
    EXPECT_TRUE(form.Form2->isVisible());
    EXPECT_FALSE(form.Form2->isModal());
    EXPECT_EQ(form.findChildren<help::TForm2*>().size(), 1);
    button("SpeedButton1")->click();
    EXPECT_EQ(text(), u"[b][/b]"_s);
    form.Form2->close();
}

TEST_F(WindowTest, StatusBarHasFivePanelsWideEnoughForTheirTexts)
{
    const int widths[] = {150, 60, 60, 60, 60};
    const QStringList texts[] = {{TForm1::caretPanelText(99999, 9999)},
                                 {TForm1::kNumLockText},
                                 {TForm1::kOverwriteText, TForm1::kInsertText},
                                 {TForm1::kCapsLockText},
                                 {}};
    for (int i = 0; i < 5; ++i) {
        auto* panel = form.findChild<QLabel*>(u"StatusBar1Panel%1"_s.arg(i));
        ASSERT_NE(panel, nullptr);
        EXPECT_GE(panel->width(), widths[i]);
        // A framed label indents its text by half an x.
        const QFontMetrics metrics = panel->fontMetrics();
        for (const QString& text : texts[i])
            EXPECT_LE(metrics.horizontalAdvance(text) + metrics.horizontalAdvance(u'x') / 2,
                      panel->contentsRect().width())
                << text.toStdString();
    }
    EXPECT_EQ(form.statusPanelText(4), u""_s);
}

}  // namespace
