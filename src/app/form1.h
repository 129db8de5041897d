#pragma once

#include <QFont>
#include <QMainWindow>
#include <functional>

#include "platform/prompts.h"
#include "text/document_file.h"

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QTabWidget;
class QTimer;
class QToolButton;
class Clock;
class KeyboardState;
class MemoEdit;
class TForm2;
namespace convert {
class PreviewView;
}

// The main window. It builds the widgets under their layout names, binds the
// menus and toolbars from the tables in form1_bindings.cpp, and declares every
// command under its handler name. A handler is short: the behaviour lives in
// the folder of its subsystem.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    TForm1(Prompts& prompts, KeyboardState& keyboard, Clock& clock, QWidget* parent = nullptr);
    ~TForm1() override;

    // The untitled marker: a backslash and the digit zero.
    static const QString kUntitled;

    const QString& currentFileName() const { return m_currentFileName; }
    QString statusPanelText(int panel) const;
    bool insertToggle() const { return m_insertToggle; }
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
    TForm2* Form2 = nullptr;
    convert::PreviewView* EmbeddedWB1 = nullptr;  // made on the first preview
    // The file dialogs; each offers the path last chosen in it.
    Prompts::FileDialog OpenDialog1;
    Prompts::FileDialog SaveDialog1;
    Prompts::FileDialog OpenDialog2;

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
    QAction* addMenuRow(QMenu* menu, const MenuRow& row);
    void addButtonRow(QFrame* panel, const ButtonRow& row);
    void addSymbolRow(const SymbolRow& row);
    void connectEvents();
    void appendLines(const QStringList& lines);
    // Saves the document to path; false, after the error box, when it fails.
    bool writeDocument(const QString& path);
    void replaceDocument(const QString& text);
    // Flips the Insert toggle (and overwrite typing) for a press of Insert.
    bool noteInsertKey(QObject* receiver, QEvent* event);
    QAction* action(const char* name) const;
    void setCaptionFor(const QString& fileName);
    void updateCaretPosition();
    void setPanelVisible(QWidget* panel, const char* actionName);
    // Runs a command; a failure inside it goes to the application's error box.
    void guarded(const std::function<void()>& command);

    Prompts& m_prompts;
    KeyboardState& m_keyboard;
    Clock& m_clock;
    QString m_currentFileName;
    QFont m_fontDialogFont;  // the last font confirmed in the editor-font dialog
    QList<QLabel*> m_statusPanels;
    bool m_placed = false;
    text::FileEncoding m_fileEncoding = text::FileEncoding::Big5;
    bool m_insertToggle = false;  // flips with every press of the Insert key
};
