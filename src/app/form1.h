#pragma once

#include <QFont>
#include <QMainWindow>
#include <functional>
#include <memory>

#include "platform/prompts.h"
#include "text/document_file.h"

class QAction;
class QColor;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QTabWidget;
class QTimer;
class QToolButton;
class Clock;
class HotKey;
class ImageList;
class TrayShell;
class TVelaTrayIcon;
class KeyboardState;
class MemoEdit;
class TForm2;
class FindReplaceDialog;
class PrinterDevice;
namespace convert {
class PreviewBrowser;
}

// The main window. It builds the widgets under their layout names, binds the
// menus and toolbars from the tables in form1_bindings.cpp, and declares every
// command under its handler name. A handler is short: the behaviour lives in
// the folder of its subsystem.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    TForm1(Prompts& prompts, KeyboardState& keyboard, Clock& clock, QWidget* parent = nullptr);
    // With the notification area and the hot keys given, as tests do.
    TForm1(Prompts& prompts, KeyboardState& keyboard, Clock& clock,
           std::unique_ptr<TrayShell> trayShell, std::unique_ptr<HotKey> hotKey,
           QWidget* parent = nullptr);
    ~TForm1() override;

    // The untitled marker: a backslash and the digit zero.
    static const QString kUntitled;

    const QString& currentFileName() const { return m_currentFileName; }
    QString statusPanelText(int panel) const;
    bool insertToggle() const { return m_insertToggle; }
    // Opens the file at `path` as Open does once a file is chosen: the
    // document, its encoding, the bound name and the caption; a file that
    // cannot be read leaves everything as it was, after the error box.
    bool openDocument(const QString& path);
    // The same after the unsaved-changes question when the document is
    // modified; false when the user keeps the document or the file fails.
    bool openDocumentAsking(const QString& path);
    text::FileEncoding fileEncoding() const { return m_fileEncoding; }
    // Puts a recovered document back: modified, bound to its file.
    void restoreDocument(const QString& text, const QString& fileName, text::FileEncoding encoding);

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
    TForm2* Form2 = nullptr;                         // made when help is first asked for
    convert::PreviewBrowser* EmbeddedWB1 = nullptr;  // made on the first preview
    TVelaTrayIcon* VelaTrayIcon1 = nullptr;
    ImageList* ImageList1 = nullptr;
    // The file dialogs; each offers the path last chosen in it.
    Prompts::FileDialog OpenDialog1;
    Prompts::FileDialog SaveDialog1;
    Prompts::FileDialog OpenDialog2;
    FindReplaceDialog* FindDialog1 = nullptr;
    FindReplaceDialog* ReplaceDialog1 = nullptr;

    // Printing goes to this device from now on instead of the system's
    // printers (tests record what would be printed).
    void setPrinterDevice(PrinterDevice& printer) { m_printer = &printer; }

public Q_SLOTS:
    // Window
    void N7Click();
    void FormShow();
    void N24Click();
    void N39Click();
    void YBB1Click();
    void YBB2Click();
    void W1Click();
    void N31Click();
    void N15Click();
    void SpeedButton20Click();

    // Tag toolbar
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    void SpeedButton6Click();
    void SpeedButton7Click();
    void SpeedButton8Click();
    void SpeedButton9Click();
    void SpeedButton10Click();
    void SpeedButton11Click();
    void SpeedButton12Click();
    void SpeedButton13Click();
    void SpeedButton14Click();

    // Font, size and colour bar
    void ComboBox1Change();
    void ComboBox2Change();
    void ComboBox3Change();

    // Symbol bar
    void SpeedButton25Click();
    void SpeedButton26Click();
    void SpeedButton27Click();
    void SpeedButton28Click();
    void SpeedButton29Click();
    void SpeedButton30Click();
    void SpeedButton31Click();
    void SpeedButton32Click();
    void SpeedButton33Click();
    void SpeedButton34Click();
    void SpeedButton35Click();
    void SpeedButton36Click();
    void SpeedButton41Click();
    void SpeedButton37Click();
    void SpeedButton38Click();
    void SpeedButton39Click();
    void SpeedButton40Click();
    void SpeedButton42Click();
    void SpeedButton43Click();
    void SpeedButton44Click();
    void SpeedButton45Click();
    void SpeedButton46Click();
    void SpeedButton47Click();
    void Edit1DblClick();

    // Post skeletons and posting time
    void N33Click();
    void N34Click();
    void N36Click();
    void N35Click();
    void N41Click();
    void N56Click();
    void N38Click();

    // Status bar
    void Memo1KeyUp();
    void Memo1MouseUp();
    void Timer1Timer();

    // Files, clipboard and edit commands
    void SpeedButton18Click();
    void N27Click();
    void SpeedButton19Click();
    void SpeedButton51Click();
    void SpeedButton15Click();
    void SpeedButton16Click();
    void SpeedButton17Click();
    void SpeedButton48Click();
    void SpeedButton22Click();
    void SpeedButton23Click();
    void SpeedButton24Click();
    void N22Click();

    // Conversions and preview
    void XTHTML1Click();
    void HTML1Click();
    void TabSheet2Show();

    // Printing, find and replace, tag highlighting
    void N26Click();
    void N29Click();
    void N30Click();
    void FindDialog1Find();
    void ReplaceDialog1Find();
    void ReplaceDialog1Replace();
    void N55Click();
    // Tray icon
    void N42Click();
    void VelaTrayIcon1ShortCut();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Handler = void (TForm1::*)();
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
    void buildTray(std::unique_ptr<TrayShell> shell, std::unique_ptr<HotKey> hotKey);
    QAction* addMenuRow(QMenu* menu, const MenuRow& row);
    void addButtonRow(QFrame* panel, const ButtonRow& row);
    void addSymbolRow(const SymbolRow& row);
    void connectEvents();
    void appendLines(const QStringList& lines);
    // Saves the document to path; false, after the error box, when it fails.
    bool writeDocument(const QString& path);
    // After a refused save: puts the caret on the character the encoding
    // cannot hold and numbers its row in `error` as the status bar does.
    void showRefusedCharacter(const QString& document, QString* error);
    void replaceDocument(const QString& text);
    // A file dropped on the window opens like Open, asking first when the
    // document is modified; true when `event` was such a drop (or its drag).
    bool noteFileDrop(QObject* receiver, QEvent* event);
    // Keeps the editing keys in the custom-symbol box while it has the focus.
    bool noteEdit1Key(QObject* receiver, QEvent* event);
    // Flips the Insert toggle (and overwrite typing) for a press of Insert.
    bool noteInsertKey(QObject* receiver, QEvent* event);
    QAction* action(const char* name) const;
    void setCaptionFor(const QString& fileName);
    void updateCaretPosition();
    void setPanelVisible(QWidget* panel, const char* actionName);
    // Runs a command; a failure inside it goes to the application's error box.
    // When memory runs out, what the command had changed is undone.
    void guarded(const std::function<void()>& command);
    void buildFindDialogs();
    void findNextFrom(FindReplaceDialog& dialog);
    // A bound handler, run as a guarded command.
    void runCommand(Handler handler);

    Prompts& m_prompts;
    KeyboardState& m_keyboard;
    Clock& m_clock;
    QString m_currentFileName;
    QFont m_fontDialogFont;  // the last font confirmed in the editor-font dialog
    QList<QLabel*> m_statusPanels;
    bool m_placed = false;
    text::FileEncoding m_fileEncoding = text::FileEncoding::Big5;
    bool m_insertToggle = false;                     // flips with every press of the Insert key
    std::unique_ptr<PrinterDevice> m_systemPrinter;  // made on the first print
    PrinterDevice* m_printer = nullptr;
    bool m_caretRowPending = false;  // panel 0 waits for the rows above the caret
};

// Sets the colour of a widget's text, in every state.
void SetTextColour(QWidget* widget, const QColor& colour);
