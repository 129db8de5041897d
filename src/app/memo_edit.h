#pragma once

#include <QKeySequence>
#include <QList>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <functional>

class QMenu;
class QPainter;

// The editing area. The window's shortcuts take precedence over the editing
// keys they share (Ctrl+Delete clears the document instead of deleting a
// word), the context menu is the window's own, and key and mouse-button
// releases are reported to the window.
class MemoEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit MemoEdit(QWidget* parent = nullptr);

    void setWindowShortcuts(QList<QKeySequence> shortcuts)
    {
        m_windowShortcuts = std::move(shortcuts);
    }
    void setContextMenu(QMenu* menu) { m_contextMenu = menu; }
    // Entries put above the context menu's own for the document position the
    // menu was asked for at, and taken away once it closes.
    using MenuAdditions = std::function<QList<QAction*>(int position, QObject* owner)>;
    void setContextMenuAdditions(MenuAdditions additions)
    {
        m_menuAdditions = std::move(additions);
    }
    // Drawn over the text after each paint, in the part of the viewport
    // being painted, given the first paragraph shown and where it lies.
    using PaintAfter = std::function<void(QPainter& painter, const QRect& area,
                                          const QTextBlock& first, QPointF offset)>;
    void setPaintAfter(PaintAfter paint)
    {
        m_paintAfter = std::move(paint);
        viewport()->update();
    }

Q_SIGNALS:
    void keyReleased();
    void mouseReleased();

protected:
    bool event(QEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    // The clipboard gets the selection as typed (no-break spaces and line
    // separators kept), kept bytes of a Big5 file shown as U+FFFD; a paste
    // inside the program takes the exact text, kept bytes included.
    QMimeData* createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    QList<QKeySequence> m_windowShortcuts;
    QMenu* m_contextMenu = nullptr;
    MenuAdditions m_menuAdditions;
    PaintAfter m_paintAfter;
};
