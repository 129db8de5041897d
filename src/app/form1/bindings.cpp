// The menus, the context menu and the toolbars of the main window, one row
// per entry in the order they appear. The tag toolbar's hints and the symbol
// bar's captions come from the tables that say what the buttons write.
#include <QAction>
#include <QActionGroup>
#include <QFrame>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

#include "app/form1/form1.h"
#include "app/memo_edit.h"
#include "look/ming_font.h"
#include "look/program_icon.h"
#include "look/text_colour.h"
#include "markup/symbol_table.h"
#include "markup/tag_table.h"

using namespace Qt::Literals::StringLiterals;

struct TForm1::MenuRow {
    // Check: a check item ticked at start; Unchecked: one that starts off.
    // A Submenu row opens a submenu that takes the rows up to SubmenuEnd;
    // the Radio rows in it are one exclusive group.
    enum Kind {
        Command,
        Check,
        Unchecked,
        Separator,
        HiddenSeparator,
        Hidden,
        Submenu,
        SubmenuEnd,
        Radio
    };
    const char* name;  // layout name; nullptr for an unnamed separator
    QString caption;
    QKeySequence shortcut;
    Handler handler;
    Kind kind = Command;
};

struct TForm1::ButtonRow {
    const char* name;  // nullptr for a separator line
    QString hint;
    const char* icon;
    Handler handler;
    int x;
};

// A symbol button; its caption comes from the symbol table.
struct TForm1::SymbolRow {
    const char* name;
    Handler handler;
    int x;
};

namespace {

constexpr auto kCtrl = Qt::CTRL;

QString TagHint(markup::ToolbarForm form)
{
    return markup::Toolbar(form).hint.toString();
}

}  // namespace

void TForm1::buildMenus()
{
    using R = MenuRow;
    const QList<QPair<QString, QList<MenuRow>>> mainMenu = {
        {u"檔案(&F)"_s,
         {
             {"N7", u"開啟新檔"_s, kCtrl | Qt::Key_N, &TForm1::N7Click},
             {"N9", u"開啟舊檔..."_s, kCtrl | Qt::Key_O, &TForm1::SpeedButton18Click},
             {"N27", u"儲存檔案"_s, kCtrl | Qt::Key_S, &TForm1::N27Click},
             {"N11", u"另存檔案(&A)..."_s, Qt::Key_F2, &TForm1::SpeedButton19Click},
             {"N61", u"儲存編碼"_s, {}, nullptr, R::Submenu},
             {"N62", u"Big5"_s, {}, &TForm1::N62Click, R::Radio},
             {"N63", u"UTF-8"_s, {}, &TForm1::N63Click, R::Radio},
             {nullptr, {}, {}, nullptr, R::SubmenuEnd},
             {nullptr, {}, {}, nullptr, R::Separator},
             {"N5", u"傳至剪貼簿"_s, Qt::Key_F12, &TForm1::SpeedButton15Click},
             {nullptr, {}, {}, nullptr, R::Separator},
             {"N26", u"列印"_s, kCtrl | Qt::Key_P, &TForm1::N26Click},
             {nullptr, {}, {}, nullptr, R::Separator},
             {"N15", u"關閉程式(&X)"_s, {}, &TForm1::N15Click},
         }},
        {u"編輯(&E)"_s,
         {
             {"N16", u"復    原"_s, kCtrl | Qt::Key_Z, &TForm1::SpeedButton17Click},
             {"N23", u"重    做"_s, kCtrl | Qt::Key_Y, &TForm1::SpeedButton48Click},
             {nullptr, {}, {}, nullptr, R::Separator},
             {"N18", u"剪    下"_s, kCtrl | Qt::Key_X, &TForm1::SpeedButton22Click},
             {"N19", u"複    製"_s, kCtrl | Qt::Key_C, &TForm1::SpeedButton23Click},
             {"N20", u"貼    上"_s, kCtrl | Qt::Key_V, &TForm1::SpeedButton24Click},
             {"N60", u"貼上為標籤"_s, kCtrl | Qt::SHIFT | Qt::Key_V, &TForm1::N60Click},
             {"N64", u"複製為"_s, {}, nullptr, R::Submenu},
             {"N65", u"BBCode（phpBB 等）"_s, {}, &TForm1::N65Click},
             {"N66", u"Discuz!"_s, {}, &TForm1::N66Click},
             {"N67", u"Markdown"_s, {}, &TForm1::N67Click},
             {"N68", u"網頁格式（HTML）"_s, {}, &TForm1::N68Click},
             {nullptr, {}, {}, nullptr, R::SubmenuEnd},
             {nullptr, {}, {}, nullptr, R::Separator},
             {"N37", u"清除內容"_s, kCtrl | Qt::Key_Delete, &TForm1::SpeedButton16Click},
             {nullptr, {}, {}, nullptr, R::Separator},
             {"N22", u"全    選"_s, kCtrl | Qt::Key_A, &TForm1::N22Click},
         }},
        {u"檢視(&V)"_s,
         {
             {"N24", u"一般工具列"_s, {}, &TForm1::N24Click, R::Check},
             {"N39", u"符號表工具列"_s, {}, &TForm1::N39Click, R::Check},
             {"YBB1", u"YBB格式工具列"_s, {}, &TForm1::YBB1Click, R::Check},
             {"YBB2", u"YBB字型工具列"_s, {}, &TForm1::YBB2Click, R::Check},
             {"N54", {}, {}, nullptr, R::HiddenSeparator},
             {"N55", u"亮度文字特效"_s, {}, &TForm1::N55Click, R::Hidden},
             {nullptr, {}, {}, nullptr, R::Separator},
             {"N58", u"標籤上色"_s, {}, &TForm1::N58Click, R::Unchecked},
             {"N57", u"即時預覽"_s, Qt::Key_F6, &TForm1::N57Click, R::Unchecked},
             {"N73", u"英文拼字檢查"_s, {}, &TForm1::N73Click, R::Unchecked},
             // Filled with the dictionaries the system has.
             {"N74", u"拼字檢查字典"_s, {}, nullptr, R::Submenu},
             {nullptr, {}, {}, nullptr, R::SubmenuEnd},
         }},
        {u"尋找(&S)"_s,
         {
             {"N29", u"尋找(&F)"_s, kCtrl | Qt::Key_F, &TForm1::N29Click},
             {"N30", u"取代(&R)"_s, kCtrl | Qt::Key_R, &TForm1::N30Click},
         }},
        {u"設定(&O)"_s,
         {
             {"N31", u"設定編輯區字型"_s, Qt::Key_F10, &TForm1::N31Click},
             {nullptr, {}, {}, nullptr, R::Separator},
             {"W1", u"自動換行(&W)"_s, {}, &TForm1::W1Click, R::Check},
             {nullptr, {}, {}, nullptr, R::Separator},
             {"N42", u"隱藏主視窗"_s, Qt::Key_F9, &TForm1::N42Click, R::Check},
         }},
        {u"文章格式(&K)"_s,
         {
             {"N33", u"[自    訂]"_s, {}, &TForm1::N33Click},
             {"N34", u"[發    問]"_s, {}, &TForm1::N34Click},
             {"N36", u"[範    例]"_s, {}, &TForm1::N36Click},
             {"N35", u"[轉    貼]"_s, {}, &TForm1::N35Click},
             {"N41", u"[電子報]"_s, {}, &TForm1::N41Click},
             {"N56", u"[軟體分享]"_s, {}, &TForm1::N56Click},
             {"N32", {}, {}, nullptr, R::Separator},
             {"N38", u"發表時間"_s, Qt::Key_F5, &TForm1::N38Click},
         }},
        {u"轉換(&T)"_s,
         {
             {"XTHTML1", u"( YBB )->( HTML )"_s, {}, &TForm1::XTHTML1Click},
             {"HTML1", u"(HTML)->(純文字)"_s, {}, &TForm1::HTML1Click},
             {nullptr, {}, {}, nullptr, R::Separator},
             {"N59", u"檢查標籤"_s, {}, &TForm1::N59Click},
             {nullptr, {}, {}, nullptr, R::Separator},
             {"N69", u"簡體→繁體（臺灣用語）"_s, {}, &TForm1::N69Click},
             {"N70", u"簡體→繁體（香港）"_s, {}, &TForm1::N70Click},
             {"N71", u"繁體→簡體"_s, {}, &TForm1::N71Click},
             {"N72", u"繁體→臺灣正體"_s, {}, &TForm1::N72Click},
         }},
        {u"說明(&H)"_s,
         {
             {"N8", u"關於...(&A)"_s, {}, &TForm1::SpeedButton20Click},
         }},
    };

    QMenuBar* bar = menuBar();
    bar->setObjectName(u"MainMenu1"_s);
    QList<QKeySequence> shortcuts;
    for (const auto& [title, rows] : mainMenu) {
        QMenu* const menu = bar->addMenu(title);
        QMenu* into = menu;
        QActionGroup* group = nullptr;
        for (const MenuRow& row : rows) {
            if (row.kind == R::Submenu) {
                into = menu->addMenu(row.caption);
                into->setObjectName(QString::fromLatin1(row.name));
                into->menuAction()->setObjectName(into->objectName());
                group = new QActionGroup(into);
                continue;
            }
            if (row.kind == R::SubmenuEnd) {
                into = menu;
                continue;
            }
            QAction* const entry = addMenuRow(into, row);
            if (row.kind == R::Radio) {
                entry->setCheckable(true);
                group->addAction(entry);
            }
            if (!row.shortcut.isEmpty()) shortcuts.append(row.shortcut);
        }
    }
    Memo1->setWindowShortcuts(shortcuts);

    // The context menu has no shortcuts and no Redo.
    const QList<MenuRow> popup = {
        {"N44", u"復        原(&U)"_s, {}, &TForm1::SpeedButton17Click},
        {"N45", {}, {}, nullptr, R::Separator},
        {"N46", u"剪        下(&T)"_s, {}, &TForm1::SpeedButton22Click},
        {"N47", u"複        製(&C)"_s, {}, &TForm1::SpeedButton23Click},
        {"N48", u"貼        上(&P)"_s, {}, &TForm1::SpeedButton24Click},
        {"N49", {}, {}, nullptr, R::Separator},
        {"N51", u"清空內容(&D)"_s, {}, &TForm1::SpeedButton16Click},
        {"N50", {}, {}, nullptr, R::Separator},
        {"N52", u"全        選(&A)"_s, {}, &TForm1::N22Click},
    };
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(u"PopupMenu1"_s);
    for (const MenuRow& row : popup) addMenuRow(PopupMenu1, row);
    Memo1->setContextMenu(PopupMenu1);
}

QAction* TForm1::addMenuRow(QMenu* menu, const MenuRow& row)
{
    QAction* entry = nullptr;
    if (row.kind == MenuRow::Separator || row.kind == MenuRow::HiddenSeparator) {
        entry = menu->addSeparator();
    } else {
        entry = menu->addAction(row.caption);
        entry->setShortcut(row.shortcut);
        entry->setShortcutContext(Qt::WindowShortcut);
        if (row.kind == MenuRow::Check || row.kind == MenuRow::Unchecked) {
            // The mark flips by itself before the handler runs.
            entry->setCheckable(true);
            entry->setChecked(row.kind == MenuRow::Check);
        }
        connect(entry, &QAction::triggered, this,
                [this, handler = row.handler] { runCommand(handler); });
    }
    if (row.name) entry->setObjectName(QString::fromLatin1(row.name));
    entry->setVisible(row.kind != MenuRow::HiddenSeparator && row.kind != MenuRow::Hidden);
    return entry;
}

void TForm1::buildToolbars()
{
    // General toolbar; the help button sits at the right edge between two
    // separators (x counted from the right there).
    const QList<ButtonRow> general = {
        {"SpeedButton16", u"開啟新檔"_s, "new", &TForm1::N7Click, 1},
        {"SpeedButton18", u"開啟檔案"_s, "open", &TForm1::SpeedButton18Click, 31},
        {"SpeedButton49", u"儲存檔案"_s, "save", &TForm1::N27Click, 61},
        {"SpeedButton19", u"另存檔案"_s, "save-as", &TForm1::SpeedButton19Click, 91},
        {nullptr, {}, nullptr, nullptr, 124},
        {"SpeedButton50", u"列印"_s, "print", &TForm1::N26Click, 128},
        {nullptr, {}, nullptr, nullptr, 161},
        {"SpeedButton22", u"剪下"_s, "cut", &TForm1::SpeedButton22Click, 165},
        {"SpeedButton23", u"複製"_s, "copy", &TForm1::SpeedButton23Click, 195},
        {"SpeedButton24", u"貼上"_s, "paste", &TForm1::SpeedButton24Click, 225},
        {nullptr, {}, nullptr, nullptr, 258},
        {"SpeedButton17", u"復原"_s, "undo", &TForm1::SpeedButton17Click, 262},
        {"SpeedButton48", u"重做"_s, "redo", &TForm1::SpeedButton48Click, 292},
        {nullptr, {}, nullptr, nullptr, 325},
        {"SpeedButton15", u"傳至剪貼簿"_s, "send-to-clipboard", &TForm1::SpeedButton15Click, 329},
        {nullptr, {}, nullptr, nullptr, 362},
        {"SpeedButton51", u"插入文章"_s, "insert-article", &TForm1::SpeedButton51Click, 366},
        {nullptr, {}, nullptr, nullptr, 399},
        {nullptr, {}, nullptr, nullptr, -40},
        {"SpeedButton20", u"說明"_s, "help", &TForm1::SpeedButton20Click, -36},
        {nullptr, {}, nullptr, nullptr, -4},
    };
    for (const ButtonRow& row : general) addButtonRow(Panel2, row);

    const QList<ButtonRow> tags = {
        {"SpeedButton1", TagHint(markup::ToolbarForm::Bold), "bold", &TForm1::SpeedButton1Click, 1},
        {"SpeedButton2", TagHint(markup::ToolbarForm::Italic), "italic", &TForm1::SpeedButton2Click, 31},
        {"SpeedButton3", TagHint(markup::ToolbarForm::Underline), "underline", &TForm1::SpeedButton3Click, 61},
        {"SpeedButton4", TagHint(markup::ToolbarForm::Strike), "strike", &TForm1::SpeedButton4Click, 91},
        {nullptr, {}, nullptr, nullptr, 124},
        {"SpeedButton5", TagHint(markup::ToolbarForm::Left), "align-left", &TForm1::SpeedButton5Click, 128},
        {"SpeedButton6", TagHint(markup::ToolbarForm::Centre), "align-center", &TForm1::SpeedButton6Click, 158},
        {"SpeedButton7", TagHint(markup::ToolbarForm::Right), "align-right", &TForm1::SpeedButton7Click, 188},
        {nullptr, {}, nullptr, nullptr, 220},
        {"SpeedButton8", TagHint(markup::ToolbarForm::Rule), "rule", &TForm1::SpeedButton8Click, 223},
        {nullptr, {}, nullptr, nullptr, 255},
        {"SpeedButton9", TagHint(markup::ToolbarForm::Link), "link", &TForm1::SpeedButton9Click, 259},
        {"SpeedButton10", TagHint(markup::ToolbarForm::Mail), "email", &TForm1::SpeedButton10Click, 289},
        {"SpeedButton11", TagHint(markup::ToolbarForm::Picture), "image", &TForm1::SpeedButton11Click, 319},
        {nullptr, {}, nullptr, nullptr, 351},
        {"SpeedButton12", TagHint(markup::ToolbarForm::Code), "code", &TForm1::SpeedButton12Click, 355},
        {"SpeedButton13", TagHint(markup::ToolbarForm::Quote), "quote", &TForm1::SpeedButton13Click, 385},
        {"SpeedButton14", TagHint(markup::ToolbarForm::List), "list", &TForm1::SpeedButton14Click, 415},
        {nullptr, {}, nullptr, nullptr, 447},
    };
    for (const ButtonRow& row : tags) addButtonRow(Panel1, row);
}

void TForm1::buildSymbolBar()
{
    // Fixed positions from the left; the custom-symbol group covers the last
    // ones at the design width and uncovers them as the window widens.
    const QList<SymbolRow> symbols = {
        {"SpeedButton25", &TForm1::SpeedButton25Click, 60},
        {"SpeedButton26", &TForm1::SpeedButton26Click, 85},
        {"SpeedButton27", &TForm1::SpeedButton27Click, 110},
        {"SpeedButton28", &TForm1::SpeedButton28Click, 135},
        {"SpeedButton29", &TForm1::SpeedButton29Click, 160},
        {"SpeedButton30", &TForm1::SpeedButton30Click, 185},
        {"SpeedButton31", &TForm1::SpeedButton31Click, 210},
        {"SpeedButton32", &TForm1::SpeedButton32Click, 235},
        {"SpeedButton33", &TForm1::SpeedButton33Click, 260},
        {"SpeedButton34", &TForm1::SpeedButton34Click, 285},
        {"SpeedButton35", &TForm1::SpeedButton35Click, 310},
        {"SpeedButton36", &TForm1::SpeedButton36Click, 335},
        {"SpeedButton41", &TForm1::SpeedButton41Click, 360},
        {"SpeedButton37", &TForm1::SpeedButton37Click, 385},
        {"SpeedButton38", &TForm1::SpeedButton38Click, 410},
        {"SpeedButton39", &TForm1::SpeedButton39Click, 435},
        {"SpeedButton40", &TForm1::SpeedButton40Click, 460},
        {"SpeedButton42", &TForm1::SpeedButton42Click, 485},
        {"SpeedButton43", &TForm1::SpeedButton43Click, 510},
        {"SpeedButton44", &TForm1::SpeedButton44Click, 535},
        {"SpeedButton45", &TForm1::SpeedButton45Click, 560},
        {"SpeedButton46", &TForm1::SpeedButton46Click, 585},
    };
    for (const SymbolRow& row : symbols) addSymbolRow(row);
    Panel5->raise();

    addButtonRow(Panel5, {"SpeedButton47", u"加符號至編輯區"_s, "add-symbol",
                          &TForm1::SpeedButton47Click, 152});
}

void TForm1::addButtonRow(QFrame* panel, const ButtonRow& row)
{
    const int height = panel->height();
    const int buttonHeight = panel == Panel5 ? 23 : 30;
    QWidget* widget = nullptr;
    int width = 0;
    if (!row.name) {
        auto* line = new QFrame(panel);
        line->setFrameStyle(QFrame::VLine | QFrame::Sunken);
        width = 2;
        line->setFixedSize(width, 27);
        widget = line;
    } else {
        auto* button = new QToolButton(panel);
        button->setObjectName(QString::fromLatin1(row.name));
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        if (row.icon) {
            button->setIcon(look::ToolbarIcon(QString::fromLatin1(row.icon)));
            button->setIconSize(QSize(22, 22));
        }
        button->setToolTip(row.hint);
        button->setAccessibleName(row.hint);
        width = panel == Panel5 ? 34 : 30;
        button->setFixedSize(width, buttonHeight);
        connect(button, &QToolButton::clicked, this,
                [this, handler = row.handler] { runCommand(handler); });
        widget = button;
    }
    const int y = (height - widget->height()) / 2;
    if (row.x >= 0) {
        widget->move(row.x, y);
    } else {
        widget->setProperty(kRightOffset, -row.x);
        widget->move(panel->width() + row.x, y);
    }
}

void TForm1::addSymbolRow(const SymbolRow& row)
{
    auto* button = new QToolButton(Panel4);
    button->setObjectName(QString::fromLatin1(row.name));
    const QString caption =
        markup::SymbolButtonNamed(QString::fromLatin1(row.name)).caption.toString();
    button->setText(caption);
    button->setAccessibleName(caption);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFont(look::MingFont(15));
    look::SetTextColour(button, Qt::blue);
    button->setGeometry(row.x, 1, 25, 23);
    connect(button, &QToolButton::clicked, this,
            [this, handler = row.handler] { runCommand(handler); });
}

void TForm1::buildDialogs()
{
    // "label (patterns)"; the dialogs show the label alone. The patterns take
    // either case, as names from Windows often come in capitals.
    const QString text = u"文字檔(*.TXT) (*.[tT][xX][tT])"_s;
    const QString other = u"其他(*.*) (*)"_s;
    OpenDialog1.filters = {text, u"HTML檔 (*.[hH][tT][mM] *.[hH][tT][mM][lL])"_s, other};
    OpenDialog1.defaultSuffix = u"txt"_s;
    SaveDialog1.filters = {text, other};
    SaveDialog1.defaultSuffix = u"txt"_s;
    SaveDialog1.save = true;
    OpenDialog2.filters = {u"文字檔(*.txt) (*.[tT][xX][tT])"_s, u"DFM檔(*.dfm) (*.[dD][fF][mM])"_s,
                           other};
    OpenDialog2.defaultSuffix = u"txt"_s;
}
