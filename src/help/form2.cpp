#include "help/form2.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>

#include "help/form2_texts.h"
#include "look/ming_font.h"
#include "look/text_colour.h"

using namespace Qt::Literals::StringLiterals;

namespace help {

namespace {

// Light text on a mid grey: the pages are read, not edited.
const QColor kBackground(0x80, 0x80, 0x80);
const QColor kSilver(0xC0, 0xC0, 0xC0);
const QColor kWhite(0xFF, 0xFF, 0xFF);
const QColor kYellow(0xFF, 0xFF, 0x00);

// Tabs look like a row of push buttons; the chosen one stays pressed in.
// Only the tab bar is styled, so the pages keep the dialog's palette.
const auto kTabButtonStyle =
    uR"(
QTabBar::tab {
    color: black;
    background: #d4d0c8;
    border: 2px outset #d4d0c8;
    padding: 2px 8px;
    margin: 2px 1px 2px 2px;
}
QTabBar::tab:selected {
    background: #b4b0a8;
    border-style: inset;
}
)"_s;

// A label at its layout place. The text is plain and never wrapped, so the
// runs of spaces that indent the lines stay as they are.
QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, int x, int y,
                  int pixelSize, const QColor& colour)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(false);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setFont(look::MingFont(pixelSize));
    look::SetTextColour(label, colour);
    label->setText(text);
    label->move(x, y);
    label->adjustSize();
    return label;
}

QGroupBox* MakeGroupBox(QWidget* parent, const QString& name, const QRect& geometry)
{
    auto* box = new QGroupBox(parent);
    box->setObjectName(name);
    box->setGeometry(geometry);
    return box;
}

QWidget* MakePage(QTabWidget* pages, const QString& name, const QString& caption)
{
    auto* page = new QWidget(pages);
    page->setObjectName(name);
    pages->addTab(page, caption);
    return page;
}

}  // namespace

TForm2::TForm2(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(u"Form2"_s);
    setWindowTitle(u"說明"_s);
    setModal(false);
    setFixedSize(kClientWidth, kClientHeight);
    setFont(look::MingFont(13));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kBackground);
    setPalette(palette);
    setAutoFillBackground(true);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(u"PageControl1"_s);
    PageControl1->setGeometry(0, 0, kClientWidth, kClientHeight - 1);
    PageControl1->setFont(look::MingFont(15));
    // Button tabs have no frame around the pages: the group boxes sit
    // straight on the grey.
    PageControl1->setDocumentMode(true);
    PageControl1->tabBar()->setDrawBase(false);
    PageControl1->tabBar()->setStyleSheet(kTabButtonStyle);
    PageControl1->setUsesScrollButtons(false);

    buildVersionPage();
    buildUsagePage();
    buildCautionsPage();
    PageControl1->setCurrentIndex(0);

    // The help belongs to the whole desktop, not to the main window's
    // corner: it opens in the middle of the screen, and after that where
    // the user last left it.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect place(QPoint(0, 0), size());
        place.moveCenter(screen->availableGeometry().center());
        move(place.topLeft());
    }
}

void TForm2::buildVersionPage()
{
    TabSheet1 = MakePage(PageControl1, u"TabSheet1"_s, u"版本"_s);
    GroupBox1 = MakeGroupBox(TabSheet1, u"GroupBox1"_s, QRect(2, 2, 365, 262));
    GroupBox1->setTitle(u"Quillpost 4.0"_s);
    QFont titleFont = look::MingFont(16);
    titleFont.setBold(true);
    GroupBox1->setFont(titleFont);
    look::SetTextColour(GroupBox1, kYellow);

    Label1 = MakeLabel(GroupBox1, u"Label1"_s, u"(免費軟體)"_s, 298, 15, 13, kSilver);
    Label3 = MakeLabel(GroupBox1, u"Label3"_s, help::VersionNotes(), 12, 28, 13, kWhite);
    // The notes keep their own box whatever the text's extent.
    Label3->setFixedSize(341, 205);
    Label2 =
        MakeLabel(GroupBox1, u"Label2"_s, u"■有需要改進的地方，歡迎指教！"_s, 11, 240, 13, kSilver);
}

void TForm2::buildUsagePage()
{
    TabSheet2 = MakePage(PageControl1, u"TabSheet2"_s, u"使用方式"_s);
    // Placed a little above the page so that the box's top edge stays
    // out of sight.
    GroupBox2 = MakeGroupBox(TabSheet2, u"GroupBox2"_s, QRect(0, -4, 369, 268));
    Label4 = MakeLabel(GroupBox2, u"Label4"_s, help::UsageText(), 7, 12, 16, kWhite);
}

void TForm2::buildCautionsPage()
{
    TabSheet3 = MakePage(PageControl1, u"TabSheet3"_s, u"注意事項"_s);
    GroupBox3 = MakeGroupBox(TabSheet3, u"GroupBox3"_s, QRect(0, -4, 367, 268));
    Label5 = MakeLabel(GroupBox3, u"Label5"_s, help::CautionsText(), 6, 11, 16, kWhite);
}

void TForm2::showInFront()
{
    if (!isVisible()) show();
    raise();
    activateWindow();
}

}  // namespace help
