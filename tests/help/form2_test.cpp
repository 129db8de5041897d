// The help dialog as a window: its frame, its layout, and how it behaves
// when the main window shows it again and again.
#include <gtest/gtest.h>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QVBoxLayout>
#include <QWindow>

#include "help/form2.h"

using namespace Qt::Literals::StringLiterals;

namespace {

int VisibleHelpDialogs()
{
    int count = 0;
    for (const QWidget* widget : QApplication::topLevelWidgets())
        if (qobject_cast<const help::TForm2*>(widget) && widget->isVisible()) ++count;
    return count;
}

// Closes the window the way its title-bar close box does: the request
// comes from the window system, not from a call on the widget.
void CloseFromTitleBar(QWidget& window)
{
    ASSERT_NE(window.windowHandle(), nullptr);
    window.windowHandle()->close();
}

// Stands in for the main window: a top-level window with a text field.
bool BecomesActive(QWidget& window)
{
    return QTest::qWaitFor([&] { return QApplication::activeWindow() == &window; });
}

struct OtherWindow {
    QWidget window;
    QLineEdit* edit = new QLineEdit(&window);

    OtherWindow()
    {
        window.setObjectName(u"OtherWindow"_s);
        (new QVBoxLayout(&window))->addWidget(edit);
        window.resize(300, 200);
        window.show();
        edit->setFocus();
    }
};

QColor TextColour(const QWidget* widget)
{
    return widget->palette().color(QPalette::WindowText);
}

}  // namespace

TEST(Form2, IsAFixedSizeDialogCaptionedHelp)
{
    const help::TForm2 form;
    EXPECT_EQ(form.objectName(), u"Form2"_s);
    EXPECT_EQ(form.windowTitle(), u"說明"_s);
    EXPECT_EQ(form.size(), QSize(377, 298));
    EXPECT_EQ(form.minimumSize(), QSize(377, 298));
    EXPECT_EQ(form.maximumSize(), QSize(377, 298));
    EXPECT_FALSE(form.isSizeGripEnabled());
    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowContextHelpButtonHint));
}

TEST(Form2, ResizingIsRefused)
{
    help::TForm2 form;
    form.showInFront();
    form.resize(600, 500);
    EXPECT_EQ(form.size(), QSize(377, 298));
    form.resize(100, 80);
    EXPECT_EQ(form.size(), QSize(377, 298));
}

TEST(Form2, StartsHiddenOnTheVersionPage)
{
    const help::TForm2 form;
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.PageControl1->count(), 3);
    EXPECT_EQ(form.PageControl1->currentWidget(), form.TabSheet1);
    EXPECT_EQ(form.TabSheet1->objectName(), u"TabSheet1"_s);
    EXPECT_EQ(form.TabSheet2->objectName(), u"TabSheet2"_s);
    EXPECT_EQ(form.TabSheet3->objectName(), u"TabSheet3"_s);
    EXPECT_EQ(form.PageControl1->indexOf(form.TabSheet2), 1);
    EXPECT_EQ(form.PageControl1->indexOf(form.TabSheet3), 2);
}

TEST(Form2, OpensInTheMiddleOfTheScreen)
{
    help::TForm2 form;
    form.showInFront();
    // The place is chosen before the window system adds its frame, so
    // allow the frame's thickness.
    const QRect frame = form.frameGeometry();
    const QPoint offset = frame.center() - form.screen()->availableGeometry().center();
    EXPECT_LE(std::abs(offset.x()), (frame.width() - form.width()) / 2 + 1);
    EXPECT_LE(std::abs(offset.y()), (frame.height() - form.height()) / 2 + 1);
}

TEST(Form2, ComponentsSitAtTheirPlaces)
{
    const help::TForm2 form;
    EXPECT_EQ(form.PageControl1->geometry(), QRect(0, 0, 377, 297));
    EXPECT_EQ(form.GroupBox1->geometry(), QRect(2, 2, 365, 262));
    EXPECT_EQ(form.GroupBox2->geometry(), QRect(0, -4, 369, 268));
    EXPECT_EQ(form.GroupBox3->geometry(), QRect(0, -4, 367, 268));
    EXPECT_EQ(form.GroupBox1->parentWidget(), form.TabSheet1);
    EXPECT_EQ(form.GroupBox2->parentWidget(), form.TabSheet2);
    EXPECT_EQ(form.GroupBox3->parentWidget(), form.TabSheet3);

    EXPECT_EQ(form.Label1->parentWidget(), form.GroupBox1);
    EXPECT_EQ(form.Label2->parentWidget(), form.GroupBox1);
    EXPECT_EQ(form.Label3->parentWidget(), form.GroupBox1);
    EXPECT_EQ(form.Label4->parentWidget(), form.GroupBox2);
    EXPECT_EQ(form.Label5->parentWidget(), form.GroupBox3);
    EXPECT_EQ(form.Label1->pos(), QPoint(298, 15));
    EXPECT_EQ(form.Label2->pos(), QPoint(11, 240));
    EXPECT_EQ(form.Label3->geometry(), QRect(12, 28, 341, 205));
    EXPECT_EQ(form.Label4->pos(), QPoint(7, 12));
    EXPECT_EQ(form.Label5->pos(), QPoint(6, 11));
}

TEST(Form2, FontsAreMingAtTheirPixelSizes)
{
    const help::TForm2 form;
    EXPECT_EQ(form.font().family(), u"新細明體"_s);
    EXPECT_EQ(form.font().pixelSize(), 13);
    EXPECT_EQ(form.PageControl1->font().pixelSize(), 15);
    EXPECT_EQ(form.PageControl1->tabBar()->font().pixelSize(), 15);
    EXPECT_EQ(form.GroupBox1->font().pixelSize(), 16);
    EXPECT_TRUE(form.GroupBox1->font().bold());
    const std::pair<const QLabel*, int> sizes[] = {{form.Label1, 13},
                                                   {form.Label2, 13},
                                                   {form.Label3, 13},
                                                   {form.Label4, 16},
                                                   {form.Label5, 16}};
    for (const auto& [label, pixels] : sizes) {
        EXPECT_EQ(label->font().pixelSize(), pixels) << label->objectName().toStdString();
        EXPECT_EQ(label->font().family(), u"新細明體"_s);
        EXPECT_FALSE(label->font().bold()) << label->objectName().toStdString();
    }
}

TEST(Form2, LightTextOnGrey)
{
    const help::TForm2 form;
    EXPECT_EQ(form.palette().color(QPalette::Window), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(form.TabSheet1->palette().color(QPalette::Window), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(TextColour(form.GroupBox1), QColor(Qt::yellow));
    EXPECT_EQ(TextColour(form.Label1), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(TextColour(form.Label2), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(TextColour(form.Label3), QColor(Qt::white));
    EXPECT_EQ(TextColour(form.Label4), QColor(Qt::white));
    EXPECT_EQ(TextColour(form.Label5), QColor(Qt::white));
}

TEST(Form2, TextsFitTheirBoxes)
{
    // With the font this desktop resolves, no line may run out of its box
    // or off the page; this is what the fallback faces are chosen for.
    help::TForm2 form;
    form.showInFront();
    const auto extent = [](const QLabel* label) {
        return label->fontMetrics().boundingRect(QRect(0, 0, 10000, 10000),
                                                 Qt::AlignLeft | Qt::AlignTop, label->text());
    };
    const QRect notes = extent(form.Label3);
    EXPECT_LE(notes.width(), form.Label3->width());
    EXPECT_LE(notes.height(), form.Label3->height());

    // The page's own size is what stays visible of the group boxes.
    for (const QLabel* label : {form.Label4, form.Label5}) {
        QWidget* page = label->parentWidget()->parentWidget();
        form.PageControl1->setCurrentWidget(page);  // pages get their size when shown
        const QRect onPage(label->mapTo(page, QPoint(0, 0)), extent(label).size());
        EXPECT_GE(label->width(), extent(label).width()) << label->objectName().toStdString();
        EXPECT_LE(onPage.bottom(), page->height()) << label->objectName().toStdString();
        EXPECT_LE(onPage.right(), page->width() + 4) << label->objectName().toStdString();
    }
    for (const QLabel* label : {form.Label1, form.Label2}) {
        const QRect inBox(label->pos(), extent(label).size());
        EXPECT_TRUE(QRect(QPoint(0, 0), form.GroupBox1->size()).contains(inBox))
            << label->objectName().toStdString();
    }
}

TEST(Form2, ShowingTwiceLeavesOneDialogInFront)
{
    OtherWindow other;
    help::TForm2 form(&other.window);
    ASSERT_EQ(VisibleHelpDialogs(), 0);
    form.showInFront();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.showInFront();
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(VisibleHelpDialogs(), 1);
    EXPECT_TRUE(BecomesActive(form));
}

TEST(Form2, ShowingAgainBringsAnOpenDialogBackToTheFront)
{
    OtherWindow other;
    help::TForm2 form;
    form.showInFront();
    ASSERT_TRUE(BecomesActive(form));

    other.window.activateWindow();
    ASSERT_TRUE(BecomesActive(other.window));
    ASSERT_TRUE(form.isVisible());

    form.showInFront();
    EXPECT_TRUE(BecomesActive(form));
    EXPECT_EQ(VisibleHelpDialogs(), 1);
}

TEST(Form2, TheCloseBoxHidesTheDialogAndKeepsIt)
{
    help::TForm2 form;
    const QPointer<help::TForm2> alive(&form);
    form.showInFront();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    CloseFromTitleBar(form);
    QCoreApplication::processEvents();
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(alive.isNull());
    form.showInFront();
    EXPECT_TRUE(form.isVisible());
}

TEST(Form2, ReopensUnchangedOnThePageLastSelected)
{
    help::TForm2 form;
    form.showInFront();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QTabBar* tabs = form.PageControl1->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
    ASSERT_EQ(form.PageControl1->currentWidget(), form.TabSheet3);
    const QPoint place = form.pos();

    CloseFromTitleBar(form);
    ASSERT_FALSE(form.isVisible());
    form.showInFront();
    EXPECT_EQ(form.PageControl1->currentWidget(), form.TabSheet3);
    EXPECT_EQ(form.pos(), place);
    EXPECT_EQ(form.size(), QSize(377, 298));

    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    CloseFromTitleBar(form);
    form.showInFront();
    EXPECT_EQ(form.PageControl1->currentWidget(), form.TabSheet2);
}

TEST(Form2, OtherWindowsStayUsableWhileItIsOpen)
{
    OtherWindow other;
    help::TForm2 form(&other.window);
    form.showInFront();
    ASSERT_TRUE(BecomesActive(form));
    EXPECT_FALSE(form.isModal());
    EXPECT_EQ(form.windowModality(), Qt::NonModal);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // Typing reaches the other window through the window system, where a
    // modal dialog would hold it back.
    other.window.activateWindow();
    ASSERT_TRUE(BecomesActive(other.window));
    other.edit->setFocus();
    for (const char key : {'a', 'b', 'c'}) QTest::keyClick(other.window.windowHandle(), key);
    EXPECT_EQ(other.edit->text(), u"abc"_s);
    QTest::mouseClick(other.window.windowHandle(), Qt::LeftButton, {},
                      other.edit->mapTo(&other.window, other.edit->rect().center()));
    EXPECT_TRUE(form.isVisible()) << "using the other window does not close the help";
}
