#pragma once

#include <QFont>
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace platform {

// What the program asks the user through modal dialogs. The Qt implementation
// shows real dialogs; tests answer from a script so nothing ever blocks.
class Prompts {
public:
    // One file dialog of the program: its filters in order, the default
    // extension, whether it saves, and the path last chosen in it.
    struct FileDialog {
        QStringList filters;    // "label (patterns)", shown as the label; the first
                                // is selected at start
        QString defaultSuffix;  // without the dot
        bool save = false;
        QString lastPath;  // offered the next time; empty at start
    };

    virtual ~Prompts() = default;

    // A confirmation with OK and Cancel and no icon; true for OK.
    virtual bool confirm(const QString& caption, const QString& text) = 0;
    // A question with Yes and No, No the default, before something that could
    // lose work; true for Yes.
    virtual bool askYesNo(const QString& caption, const QString& text) = 0;
    // The application's error box: caption "Quillpost 4.0", error icon, OK.
    virtual void error(const QString& text) = 0;
    // The error box with the failure's text as its first line and, after an
    // empty line, the detail (the system's reason, what became of a file).
    virtual void errorWithDetail(const QString& text, const QString& detail);
    // A plain message box captioned with the application title, one OK.
    virtual void message(const QString& text) = 0;
    // The editor-font dialog, pre-set with `initial`; nothing when cancelled.
    virtual std::optional<QFont> chooseFont(const QFont& initial) = 0;
    // A file dialog; on success returns the chosen full path and stores it in
    // dialog.lastPath; nothing when cancelled.
    virtual std::optional<QString> chooseFile(FileDialog& dialog) = 0;

    // A message dialog of the information or the error kind: captioned
    // "Information" or "Error", with the kind's icon and one "OK" button.
    enum class MessageKind { Information, Error };
    virtual void messageDialog(MessageKind kind, const QString& text) = 0;
};

// Real dialogs, parented to `parent` (the main window).
class QtPrompts final : public Prompts {
public:
    explicit QtPrompts(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    bool confirm(const QString& caption, const QString& text) override;
    bool askYesNo(const QString& caption, const QString& text) override;
    void error(const QString& text) override;
    void message(const QString& text) override;
    std::optional<QFont> chooseFont(const QFont& initial) override;
    std::optional<QString> chooseFile(FileDialog& dialog) override;
    void messageDialog(MessageKind kind, const QString& text) override;

private:
    QWidget* m_parent;
};

// The text of the application's error box: the failure's text followed by a
// period unless it already ends with one (full-width or not).
QString ErrorBoxText(const QString& failure);

}  // namespace platform
