#include "app/form1/form1.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPalette>
#include <QPointer>
#include <QProgressDialog>
#include <QScreen>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QThreadPool>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>
#include <memory>

#include "app/memo_edit.h"
#include "app/window_settings.h"
#include "look/ming_font.h"
#include "look/program_icon.h"
#include "look/text_colour.h"
#include "markup/row_index.h"
#include "markup/tag_table.h"
#include "platform/hot_key.h"
#include "platform/printer_device.h"
#include "tray/application_window.h"
#include "tray/vela_tray_icon.h"

using namespace Qt::Literals::StringLiterals;

const QString TForm1::kUntitled = u"\\0"_s;

namespace {

// The colour box's entries, as the tag table names them.
QStringList ColourEntries()
{
    QStringList entries;
    for (const QStringView name : markup::kColourNames) entries.append(name.toString());
    return entries;
}

QFrame* MakePanel(QWidget* parent, const QString& name, int height, QFrame::Shadow shadow)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFixedHeight(height);
    panel->setFrameStyle(QFrame::Panel | shadow);
    return panel;
}

QLabel* MakeTealLabel(QWidget* parent, const QString& name, const QString& text, QRect geometry)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(look::MingFont(13));
    look::SetTextColour(label, QColor(0x00, 0x80, 0x80));
    label->setGeometry(geometry);
    return label;
}

}  // namespace

TForm1::TForm1(platform::Prompts& prompts, platform::KeyboardState& keyboard,
               platform::Clock& clock, QWidget* parent)
    : TForm1(prompts, keyboard, clock, tray::MakeTrayShell(), platform::MakeHotKey(), parent)
{
}

TForm1::TForm1(platform::Prompts& prompts, platform::KeyboardState& keyboard,
               platform::Clock& clock, std::unique_ptr<tray::TrayShell> trayShell,
               std::unique_ptr<platform::HotKey> hotKey, QWidget* parent)
    : QMainWindow(parent),
      m_prompts(prompts),
      m_keyboard(keyboard),
      m_clock(clock),
      m_currentFileName(kUntitled),
      m_fontDialogFont(look::MingFont(16)),
      m_settings(std::make_unique<WindowSettings>())
{
    setObjectName(u"Form1"_s);
    setWindowTitle(u"Quillpost 4.0"_s);
    setWindowIcon(look::ProgramIcon());
    setFont(look::MingFont(13));
    resize(kDesignWidth, kDesignHeight);
    // Files dropped anywhere on the window open; see noteFileDrop.
    setAcceptDrops(true);

    buildWidgets();
    buildMenus();
    enableScriptConversions();
    setUpSpellCheck();
    buildToolbars();
    buildSymbolBar();
    buildStatusBar();
    buildDialogs();
    buildFindDialogs();
    buildTray(std::move(trayShell), std::move(hotKey));

    connectEvents();

    N7Click();
    // Typing goes to the document from the start, not to the first box.
    Memo1->setFocus();
}

TForm1::~TForm1() = default;

void TForm1::buildWidgets()
{
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    setCentralWidget(central);

    Panel2 = MakePanel(central, u"Panel2"_s, 32, QFrame::Sunken);
    Panel1 = MakePanel(central, u"Panel1"_s, 32, QFrame::Sunken);
    Panel3 = MakePanel(central, u"Panel3"_s, 23, QFrame::Plain);
    Panel3->setFrameStyle(QFrame::NoFrame);
    Panel3->setAutoFillBackground(true);
    Panel3->setStyleSheet(u"QFrame#Panel3 { background: #c0c0c0; }"_s);

    const struct {
        QComboBox** box;
        const char* name;
        QString hint;
        int x, width;
        QString initial;
        QStringList entries;
        int fontPixels;
    } boxes[] = {
        {&ComboBox1,
         "ComboBox1",
         u"字型設定"_s,
         2,
         135,
         u"Arial"_s,
         {u"Andale Mono"_s, u"Arial"_s, u"Arial Black"_s, u"Book Antiqua"_s, u"Century Gothic"_s,
          u"Comic Sans MS"_s, u"Courier New"_s, u"Georgia"_s, u"Impact"_s, u"Lucida Console"_s,
          u"Script MT Bold"_s, u"Stencil"_s, u"Tahoma"_s, u"Times New Roman"_s, u"Trebuchet MS"_s,
          u"Verdana"_s},
         13},
        {&ComboBox2,
         "ComboBox2",
         u"文字大小"_s,
         139,
         64,
         u"1"_s,
         {u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s},
         13},
        {&ComboBox3, "ComboBox3", u"文字顏色"_s, 206, 118, markup::kColourNames[0].toString(),
         ColourEntries(), 15},
    };
    for (const auto& row : boxes) {
        auto* box = new QComboBox(Panel3);
        box->setObjectName(QString::fromLatin1(row.name));
        // The font before the entries: a new font has the box measure every
        // entry it holds again.
        box->setFont(look::MingFont(row.fontPixels));
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->addItems(row.entries);
        box->setCurrentIndex(box->findText(row.initial));
        box->setEditText(row.initial);
        box->setToolTip(row.hint);
        box->setAccessibleName(row.hint);
        box->setGeometry(row.x, 0, row.width, 23);
        *row.box = box;
    }

    PageControl1 = new QTabWidget(central);
    PageControl1->setObjectName(u"PageControl1"_s);
    PageControl1->setFont(look::MingFont(15));
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(u"TabSheet1"_s);
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(u"TabSheet2"_s);
    PageControl1->addTab(TabSheet1, u"原始碼編輯"_s);
    PageControl1->addTab(TabSheet2, u"預覽結果"_s);
    PageControl1->tabBar()->setTabTextColor(0, Qt::blue);
    auto* previewColumn = new QVBoxLayout(TabSheet2);
    previewColumn->setContentsMargins(0, 0, 0, 0);

    auto* page = new QVBoxLayout(TabSheet1);
    page->setContentsMargins(0, 0, 0, 0);
    page->setSpacing(0);
    Memo1 = new MemoEdit(TabSheet1);
    Memo1->setObjectName(u"Memo1"_s);
    Memo1->setAccessibleName(u"編輯區"_s);
    Memo1->setAccessibleDescription(u"文章原始碼的編輯區"_s);
    Memo1->setFont(look::MingFont(16));
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setTabChangesFocus(false);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    page->addWidget(Memo1);

    Panel4 = MakePanel(TabSheet1, u"Panel4"_s, 25, QFrame::Sunken);
    Label1 = MakeTealLabel(Panel4, u"Label1"_s, u"符號表："_s, QRect(8, 1, 52, 23));
    Panel5 = new QFrame(Panel4);
    Panel5->setObjectName(u"Panel5"_s);
    Panel5->setGeometry(475, 1, 186, 23);
    Panel5->setAutoFillBackground(true);
    Label2 = MakeTealLabel(Panel5, u"Label2"_s, u"自訂："_s, QRect(8, 0, 40, 23));
    Edit1 = new QLineEdit(Panel5);
    Edit1->setObjectName(u"Edit1"_s);
    Edit1->setFont(look::MingFont(15));
    Edit1->setStyleSheet(u"QLineEdit { background: white; color: navy; }"_s);
    Edit1->setToolTip(u"自訂符號"_s);
    Edit1->setAccessibleName(u"自訂符號"_s);
    Edit1->setGeometry(48, 0, 102, 23);
    // Any number of characters, not the line edit's default of 32767.
    Edit1->setMaxLength(std::numeric_limits<int>::max());
    page->addWidget(Panel4);

    column->addWidget(Panel2);
    column->addWidget(Panel1);
    column->addWidget(Panel3);
    column->addWidget(PageControl1, 1);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(u"Timer1"_s);
    Timer1->setInterval(200);
}

void TForm1::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(u"StatusBar1"_s);
    bar->setFixedHeight(19);
    bar->setSizeGripEnabled(true);
    // The design's widths, wider where the font needs more for the longest
    // text a panel shows (the Ming font's Latin letters run wider than the
    // design's font did).
    const struct {
        int width;
        QStringList texts;
    } panels[] = {
        {150, {caretPanelText(99999, 9999)}},
        {60, {kNumLockText}},
        {60, {kOverwriteText, kInsertText}},
        {60, {kCapsLockText}},
        {60, {}},
    };
    for (int i = 0; i < 5; ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(u"StatusBar1Panel%1"_s.arg(i));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setFont(look::MingFont(13));
        // Room for the text, the indent a framed label keeps on its side
        // (half an x), as much on the other, and the frame.
        const QFontMetrics metrics = panel->fontMetrics();
        int width = panels[i].width;
        for (const QString& text : panels[i].texts)
            width = std::max(width, metrics.horizontalAdvance(text) +
                                        metrics.horizontalAdvance(u'x') + 2 * panel->frameWidth());
        panel->setFixedWidth(width);
        bar->addWidget(panel);
        m_statusPanels.append(panel);
    }
    m_statusNotice = new QLabel(bar);
    m_statusNotice->setObjectName(u"StatusBar1Notice"_s);
    m_statusNotice->setFont(look::MingFont(13));
    // Takes the room left, whatever its text: a long path never widens the window.
    m_statusNotice->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    bar->addWidget(m_statusNotice, 1);
}

void TForm1::showRecoveryNotice(const QString& text)
{
    m_recoveryNotice = text;
    // The folder's path may be longer than the bar: the whole text stays in
    // the tooltip.
    m_statusNotice->setText(text);
    m_statusNotice->setToolTip(text);
    m_statusNotice->setAccessibleName(text);
}

void TForm1::runBehindProgress(const QString& label, const QString& cancelText,
                               std::function<void(const std::atomic_bool& cancel)> work,
                               std::function<void()> done)
{
    auto* const progress = new QProgressDialog(label, cancelText, 0, 0, this);
    progress->setObjectName(u"ProgressDialog1"_s);
    progress->setWindowModality(Qt::WindowModal);
    progress->setMinimumDuration(0);
    progress->setAttribute(Qt::WA_DeleteOnClose);
    const auto cancel = std::make_shared<std::atomic_bool>(false);
    connect(progress, &QProgressDialog::canceled, progress, [cancel] { *cancel = true; });
    progress->show();
    QThreadPool::globalInstance()->start([work = std::move(work), done = std::move(done), cancel,
                                          self = QPointer<TForm1>(this), box = QPointer(progress)] {
        work(*cancel);
        if (!self) return;
        QMetaObject::invokeMethod(self, [self, box, cancel, done] {
            // Read before the box goes: closing it counts as its Cancel.
            const bool cancelled = *cancel;
            if (box) box->close();
            if (self && !cancelled) done();
        });
    });
}

QPointer<QProgressDialog> TForm1::showBusyBox(const QString& label, const char* name)
{
    auto* const box = new QProgressDialog(label, QString(), 0, 0, this);
    box->setObjectName(QString::fromLatin1(name));
    box->setWindowModality(Qt::WindowModal);
    box->setMinimumDuration(0);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
    m_busy = true;
    return box;
}

void TForm1::closeBusyBox(QPointer<QProgressDialog> box)
{
    if (box) box->close();
    m_busy = false;
}

void TForm1::showPassingNotice(const QString& text)
{
    m_statusNotice->setText(text);
    m_statusNotice->setToolTip(text);
    m_statusNotice->setAccessibleName(text);
    QTimer::singleShot(8000, m_statusNotice, [this, notice = ++m_passingNotices] {
        if (notice == m_passingNotices) showRecoveryNotice(m_recoveryNotice);
    });
}

QString TForm1::statusPanelText(int panel) const
{
    return m_statusPanels.value(panel) ? m_statusPanels[panel]->text() : QString();
}

void TForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_placed) {
        m_placed = true;
        // The size given is the outer one; a window manager's frame is only
        // known once shown. Then centre the window on the desktop.
        const QSize frame = frameGeometry().size() - geometry().size();
        QRect outer(QPoint(), QSize(kDesignWidth, kDesignHeight));
        if (const QScreen* screen = this->screen()) {
            // A small screen at a large scale factor may hold less than the
            // design size; the menus and the status bar must stay on it.
            const QRect available = screen->availableGeometry();
            outer.setSize(outer.size().boundedTo(available.size()));
            outer.moveCenter(available.center());
        }
        resize(outer.size() - frame);
        if (this->screen()) move(outer.topLeft());
    }
    // Restoring a minimised window is no new showing, nor is bringing it
    // back from the tray.
    if (!event->spontaneous() && !tray::ApplicationWindow::of(this).bringingBack()) FormShow();
}

void TForm1::closeEvent(QCloseEvent* event)
{
    // Unsaved text is not lost without warning.
    if (!askToDiscard(u"關閉程式-確認視窗"_s)) {
        event->ignore();
        return;
    }
    event->accept();
}
