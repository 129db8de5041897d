#pragma once

#include <QFont>
#include <QMainWindow>
#include <QPointer>
#include <QStringView>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

#include "app/document_host.h"
#include "platform/prompts.h"
#include "text/document_file.h"
#include "text/file_stamp.h"

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QProgressDialog;
class QSplitter;
class QTabWidget;
class QTimer;
class QToolButton;
class MemoEdit;
class FindReplaceDialog;
class LivePreview;
class WindowSettings;
namespace convert {
class PreviewBrowser;
enum class Dialect;
enum class ScriptConversion;
}  // namespace convert
namespace help {
class TForm2;
}
namespace markup {
struct FindOptions;
struct TagPair;
enum class ToolbarForm;
}  // namespace markup
namespace spell {
class Dictionary;
class SpellLayer;
}  // namespace spell
namespace platform {
class Clock;
class HotKey;
class KeyboardState;
class PrinterDevice;
}  // namespace platform
namespace tray {
class ImageList;
class TrayShell;
class TVelaTrayIcon;
}  // namespace tray

// The main window. It builds the widgets under their layout names, binds the
// menus and toolbars from the tables in bindings.cpp, and declares every
// command under its handler name. A handler is short: the behaviour lives in
// the library below that owns it. The handlers are defined in form1/, one
// file per menu or toolbar.
class TForm1 : public QMainWindow, public DocumentHost {
    Q_OBJECT
public:
    TForm1(platform::Prompts& prompts, platform::KeyboardState& keyboard, platform::Clock& clock,
           QWidget* parent = nullptr);
    // With the notification area and the hot keys given, as tests do.
    TForm1(platform::Prompts& prompts, platform::KeyboardState& keyboard, platform::Clock& clock,
           std::unique_ptr<tray::TrayShell> trayShell, std::unique_ptr<platform::HotKey> hotKey,
           QWidget* parent = nullptr);
    ~TForm1() override;

    // The untitled marker: a backslash and the digit zero.
    static const QString kUntitled;

    QString statusPanelText(int panel) const;
    // What the status bar's panels show, by panel: the caret's place, then
    // Num Lock, the typing mode and Caps Lock.
    static QString caretPanelText(int row, int column);
    static const QString kNumLockText, kOverwriteText, kInsertText, kCapsLockText;
    bool insertToggle() const { return m_insertToggle; }
    // Opens the file at `path` as Open does once a file is chosen: the
    // document, its encoding, the bound name and the caption; a file that
    // cannot be read leaves everything as it was, after the error box. A
    // long file is decoded on a thread and given to the editing area in
    // steps behind a box "載入中", which keeps the window from taking
    // commands meanwhile; then it is open once busy() is false.
    bool openDocument(const QString& path);
    // A long file going into the editing area, or a Replace All being made
    // in a long document, in steps behind a box.
    bool busy() const { return m_busy; }
    // Files from this size are loaded in steps; Replace All is found on a
    // thread and made in steps in documents from this many characters.
    static constexpr qsizetype kStepwiseOpenBytes = 1024 * 1024;
    static constexpr int kStepwiseReplaceCharacters = 512 * 1024;
    // The same after the unsaved-changes question when the document is
    // modified; false when the user keeps the document or the file fails.
    bool openDocumentAsking(const QString& path);
    // Turns on what the user left on in the last run (the live preview, the
    // tag colours); see WindowSettings. Start-up calls it once.
    void restoreSettings();

    // The document, for crash recovery.
    QTextDocument& hostedDocument() override;
    QString currentFileName() const override { return m_currentFileName; }
    text::FileEncoding fileEncoding() const override { return m_fileEncoding; }
    void restoreDocument(const QString& text, const QString& fileName,
                         text::FileEncoding encoding) override;
    // In the status bar, after its panels.
    void showRecoveryNotice(const QString& text) override;
    // The same place, for a few seconds: what a command did.
    void showPassingNotice(const QString& text);
    // Posts or selections of this many characters and more are copied or
    // converted behind a progress box: Qt's HTML import and OpenCC take some
    // seconds for megabytes.
    static constexpr qsizetype kLongText = 256 * 1024;
    // Runs `work` on a thread of its own behind a progress box, which has a
    // Cancel button when `cancelText` is given; then `done` here, unless
    // cancelled or the window has gone meanwhile.
    void runBehindProgress(const QString& label, const QString& cancelText,
                           std::function<void(const std::atomic_bool& cancel)> work,
                           std::function<void()> done);

    // Components, by their layout names.
    QFrame* Panel1 = nullptr;  // markup-format toolbar
    QFrame* Panel2 = nullptr;  // general toolbar
    QFrame* Panel3 = nullptr;  // font toolbar
    QFrame* Panel4 = nullptr;  // symbol bar
    QFrame* Panel5 = nullptr;  // custom symbol, anchored to the right
    QComboBox* ComboBox1 = nullptr;
    QComboBox* ComboBox2 = nullptr;
    QComboBox* ComboBox3 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    MemoEdit* Memo1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QTimer* Timer1 = nullptr;
    help::TForm2* Form2 = nullptr;                   // made when help is first asked for
    convert::PreviewBrowser* EmbeddedWB1 = nullptr;  // made on the first preview
    // The live preview beside the editing area, both made when first ticked.
    QSplitter* Splitter1 = nullptr;
    convert::PreviewBrowser* EmbeddedWB2 = nullptr;
    // The tag check's panel below the editing area, made on the first check.
    QFrame* Panel6 = nullptr;
    QLabel* Label3 = nullptr;
    QListWidget* ListBox1 = nullptr;
    tray::TVelaTrayIcon* VelaTrayIcon1 = nullptr;
    tray::ImageList* ImageList1 = nullptr;
    // The file dialogs; each offers the path last chosen in it.
    platform::Prompts::FileDialog OpenDialog1;
    platform::Prompts::FileDialog SaveDialog1;
    platform::Prompts::FileDialog OpenDialog2;
    FindReplaceDialog* FindDialog1 = nullptr;
    FindReplaceDialog* ReplaceDialog1 = nullptr;

    // Printing goes to this device from now on instead of the system's
    // printers (tests record what would be printed).
    void setPrinterDevice(platform::PrinterDevice& printer) { m_printer = &printer; }

public Q_SLOTS:
    // Window (window_commands.cpp, settings_commands.cpp, view_commands.cpp)
    void N7Click();             // 開啟新檔: New, also run once as the window is made
    void FormShow();            // the window shown: welcome balloon, caret position
    void N24Click();            // 一般工具列
    void N39Click();            // 符號表工具列
    void YBB1Click();           // YBB格式工具列
    void YBB2Click();           // YBB字型工具列
    void W1Click();             // 自動換行(&W)
    void N31Click();            // 設定編輯區字型
    void N15Click();            // 關閉程式(&X)
    void SpeedButton20Click();  // 說明, 關於...(&A)

    // Tag toolbar (tag_commands.cpp)
    void SpeedButton1Click();   // 粗體
    void SpeedButton2Click();   // 斜體
    void SpeedButton3Click();   // 底線
    void SpeedButton4Click();   // 刪除線
    void SpeedButton5Click();   // 靠左
    void SpeedButton6Click();   // 置中
    void SpeedButton7Click();   // 靠右
    void SpeedButton8Click();   // 加入水平線
    void SpeedButton9Click();   // 加入超連結
    void SpeedButton10Click();  // 加入電子信箱
    void SpeedButton11Click();  // 加入圖片
    void SpeedButton12Click();  // 保留文章結構
    void SpeedButton13Click();  // 引言
    void SpeedButton14Click();  // 加入項目

    // Font, size and colour bar (font_bar_commands.cpp)
    void ComboBox1Change();  // 字型設定
    void ComboBox2Change();  // 文字大小
    void ComboBox3Change();  // 文字顏色

    // Symbol bar (symbol_commands.cpp)
    void SpeedButton25Click();  // 【】
    void SpeedButton26Click();  // 「」
    void SpeedButton27Click();  // 『』
    void SpeedButton28Click();  // 〈〉
    void SpeedButton29Click();  // 《》
    void SpeedButton30Click();  // 〔〕
    void SpeedButton31Click();  // ｛｝
    void SpeedButton32Click();  // ( )
    void SpeedButton33Click();  // [ ]
    void SpeedButton34Click();  // ←
    void SpeedButton35Click();  // →
    void SpeedButton36Click();  // ●
    void SpeedButton41Click();  // ○
    void SpeedButton37Click();  // ★
    void SpeedButton38Click();  // ☆
    void SpeedButton39Click();  // ■
    void SpeedButton40Click();  // □
    void SpeedButton42Click();  // ，
    void SpeedButton43Click();  // 。
    void SpeedButton44Click();  // ﹖
    void SpeedButton45Click();  // ※
    void SpeedButton46Click();  // ＠
    void SpeedButton47Click();  // 加符號至編輯區: the custom symbol
    void Edit1DblClick();       // 自訂符號: a double click empties it

    // Post skeletons and posting time (template_commands.cpp)
    void N33Click();  // [自    訂]
    void N34Click();  // [發    問]
    void N36Click();  // [範    例]
    void N35Click();  // [轉    貼]
    void N41Click();  // [電子報]
    void N56Click();  // [軟體分享]
    void N38Click();  // 發表時間

    // Status bar (status_commands.cpp)
    void Memo1KeyUp();
    void Memo1MouseUp();
    void Timer1Timer();

    // Files and the clipboard (file_commands.cpp)
    void SpeedButton18Click();  // 開啟檔案, 開啟舊檔...
    void N27Click();            // 儲存檔案
    void SpeedButton19Click();  // 另存檔案, 另存檔案(&A)...
    void SpeedButton51Click();  // 插入文章
    void SpeedButton15Click();  // 傳至剪貼簿
    void N62Click();            // 儲存編碼 > Big5
    void N63Click();            // 儲存編碼 > UTF-8

    // Edit commands (edit_commands.cpp)
    void SpeedButton16Click();  // 清除內容, 清空內容(&D); the button named so opens New
    void SpeedButton17Click();  // 復原
    void SpeedButton48Click();  // 重做
    void SpeedButton22Click();  // 剪下
    void SpeedButton23Click();  // 複製
    void SpeedButton24Click();  // 貼上
    void N22Click();            // 全    選
    void N60Click();            // 貼上為標籤

    // Simplified and Traditional Chinese (script_commands.cpp)
    void N69Click();  // 簡體→繁體（臺灣用語）
    void N70Click();  // 簡體→繁體（香港）
    void N71Click();  // 繁體→簡體
    void N72Click();  // 繁體→臺灣正體

    // The post copied for other forums (copy_as_commands.cpp)
    void N65Click();  // 複製為 > BBCode（phpBB 等）
    void N66Click();  // 複製為 > Discuz!
    void N67Click();  // 複製為 > Markdown
    void N68Click();  // 複製為 > 網頁格式（HTML）

    // Conversions and preview (convert_commands.cpp)
    void XTHTML1Click();        // ( YBB )->( HTML )
    void HTML1Click();          // (HTML)->(純文字)
    void TabSheet2Show();       // 預覽結果 shown
    void N59Click();            // 檢查標籤
    void ListBox1DblClick();    // a problem of the tag check chosen
    void SpeedButton52Click();  // 關閉 the tag check's panel

    // Printing (print_commands.cpp), find and replace (find_commands.cpp),
    // tag highlighting (view_commands.cpp)
    void N26Click();               // 列印
    void N29Click();               // 尋找(&F)
    void N30Click();               // 取代(&R)
    void FindDialog1Find();        // the find dialog's Find Next
    void ReplaceDialog1Find();     // the replace dialog's Find Next
    void ReplaceDialog1Replace();  // the replace dialog's Replace and Replace All
    void N55Click();               // 亮度文字特效 (hidden)
    void N57Click();               // 即時預覽
    void N58Click();               // 標籤上色
    void N73Click();               // 英文拼字檢查 (spelling_commands.cpp)

    // Tray icon (tray_commands.cpp)
    void N42Click();  // 隱藏主視窗 / 顯示主視窗
    void VelaTrayIcon1ShortCut();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Handler = void (TForm1::*)();
    // The window's outer size as laid out.
    static constexpr int kDesignWidth = 676;
    static constexpr int kDesignHeight = 512;
    // Set on a toolbar child kept at this distance from the bar's right edge.
    static constexpr const char* kRightOffset = "quillpostRightOffset";
    struct MenuRow;
    struct ButtonRow;
    struct SymbolRow;

    void buildWidgets();
    void buildMenus();
    void buildToolbars();
    void buildSymbolBar();
    void buildDialogs();
    void buildStatusBar();
    void buildFindDialogs();
    void buildTray(std::unique_ptr<tray::TrayShell> shell,
                   std::unique_ptr<platform::HotKey> hotKey);
    QAction* addMenuRow(QMenu* menu, const MenuRow& row);
    void addButtonRow(QFrame* panel, const ButtonRow& row);
    void addSymbolRow(const SymbolRow& row);
    void connectEvents();

    // Runs a bound command. A failure inside it goes to the application's
    // error box; when memory runs out, what the command had changed is undone.
    void runCommand(Handler handler);
    // The question before a modified document is discarded; true to go on.
    bool askToDiscard(const QString& caption);
    QAction* action(const char* name) const;
    void setCaptionFor(const QString& fileName);
    void updateCaretPosition();
    void setPanelVisible(QWidget* panel, const char* actionName);
    // The encoding the next save writes, and the menu's mark that shows it.
    void setFileEncoding(text::FileEncoding encoding);
    void chooseFileEncoding(text::FileEncoding encoding);
    // Splits the editing tab for the live preview, or joins it again.
    void showLivePreview(bool on);
    void buildCheckPanel();

    void writeTagButton(markup::ToolbarForm form);
    // Copies the post to the clipboard as `dialect` writes it.
    void copyAs(convert::Dialect dialect);
    // Converts the selection, or the whole document, between the scripts.
    void convertScript(convert::ScriptConversion conversion);
    // The conversion items greyed where OpenCC's files are missing.
    void enableScriptConversions();
    // The spell check (spelling_commands.cpp): the dictionaries' submenu, the
    // check item greyed where there are none, the context menu's entries.
    void setUpSpellCheck();
    // Opens the chosen dictionary off the interface thread and turns the
    // spell check on with it; `on` false turns it off.
    void switchSpellCheck(bool on);
    void spellCheckOpened(quint64 request, std::unique_ptr<spell::Dictionary> dictionary,
                          const QString& problem, const QString& personalProblem);
    void chooseDictionary(const QString& name);
    QList<QAction*> spellingEntries(int position, QObject* owner);
    void sayPersonalDictionaryProblem(const QString& problem);
    void writeSymbolButton(QStringView name);
    void wrapInTags(const markup::TagPair& tags);
    void appendLines(const QStringList& lines);
    // Saves the document to path; false, after the error box, when it fails.
    bool writeDocument(const QString& path);
    // After a refused save: puts the caret on the character the encoding
    // cannot hold and numbers its row in `error` as the status bar does.
    void showRefusedCharacter(const QString& document, QString* error);
    void replaceDocument(const QString& text);
    void findNextFrom(FindReplaceDialog& dialog);
    // What opening a file sets once its text is in the editing area.
    void boundTo(const QString& path, text::FileEncoding encoding, const text::FileStamp& stamp);
    // Replace All in a long document: found on a thread, made in steps.
    void replaceAllInSteps(const QString& what, const QString& with,
                           const markup::FindOptions& options);
    // The box shown while the window is busy(): window-modal, so that no
    // command and no typing reaches the window; without Cancel. Closing it
    // ends busy().
    QPointer<QProgressDialog> showBusyBox(const QString& label, const char* name);
    void closeBusyBox(QPointer<QProgressDialog> box);

    // Events looked at on their way (events.cpp).
    // A file dropped on the window opens like Open, asking first when the
    // document is modified; true when `event` was such a drop (or its drag).
    bool noteFileDrop(QObject* receiver, QEvent* event);
    // Keeps the editing keys in the custom-symbol box while it has the focus.
    bool noteEdit1Key(QObject* receiver, QEvent* event);
    // Flips the Insert toggle (and overwrite typing) for a press of Insert.
    bool noteInsertKey(QObject* receiver, QEvent* event);

    platform::Prompts& m_prompts;
    platform::KeyboardState& m_keyboard;
    platform::Clock& m_clock;
    QString m_currentFileName;
    QFont m_fontDialogFont;  // the last font confirmed in the editor-font dialog
    QList<QLabel*> m_statusPanels;
    QLabel* m_statusNotice = nullptr;  // empty unless something needs saying
    QString m_recoveryNotice;          // shown again once a passing notice has gone
    quint64 m_passingNotices = 0;
    bool m_placed = false;
    text::FileEncoding m_fileEncoding = text::FileEncoding::Big5;
    // The encoding the document was read in: UTF-8 chosen for a file read
    // with a byte-order mark keeps the mark.
    text::FileEncoding m_encodingAsRead = text::FileEncoding::Big5;
    // The bound file as it was last read or written, to tell another
    // program's changes; unknown for a new document.
    std::optional<text::FileStamp> m_fileStamp;
    bool m_insertToggle = false;  // flips with every press of the Insert key
    bool m_busy = false;          // see busy()
    std::unique_ptr<platform::PrinterDevice> m_systemPrinter;  // made on the first print
    platform::PrinterDevice* m_printer = nullptr;
    bool m_caretRowPending = false;  // panel 0 waits for the rows above the caret
    std::unique_ptr<WindowSettings> m_settings;
    LivePreview* m_livePreview = nullptr;
    spell::SpellLayer* m_spellLayer = nullptr;
    quint64 m_spellRequests = 0;  // the latest dictionary asked to open
    bool m_personalProblemSaid = false;
};
