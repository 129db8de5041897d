// How the window's widgets and events are wired: the boxes, the editing
// area's releases and caret moves, the tabs and the timer, and the events
// the window looks at on their way (the Insert key, files dropped on it, the
// custom-symbol box's editing keys, resizes).
#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>

#include "app/form1/form1.h"
#include "app/memo_edit.h"
#include "markup/row_index.h"

namespace {

// The first local file among the dragged data's addresses, if any.
QString FirstDroppedFile(const QMimeData* data)
{
    if (!data || !data->hasUrls()) return {};
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) return url.toLocalFile();
    return {};
}

}  // namespace

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (noteInsertKey(watched, event)) return false;
    if (noteFileDrop(watched, event)) return true;
    if (noteEdit1Key(watched, event)) return true;
    if (watched == Edit1 && event->type() == QEvent::MouseButtonDblClick) {
        Edit1DblClick();
        return true;
    }
    if (event->type() == QEvent::Resize) {
        if (watched == Memo1->viewport()) {
            // A new width re-wraps the text and moves the caret's row; the
            // rows are known once the editing area has handled the resize.
            QTimer::singleShot(0, this, &TForm1::updateCaretPosition);
        } else if (watched == Panel4) {
            // The custom-symbol group keeps its distance from the window's
            // right edge, uncovering the last symbol buttons as it widens.
            Panel5->move(475 + frameGeometry().width() - kDesignWidth, 1);
        } else if (watched == Panel2) {
            for (QWidget* child : Panel2->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                const QVariant offset = child->property(kRightOffset);
                if (offset.isValid()) child->move(Panel2->width() - offset.toInt(), child->y());
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::connectEvents()
{
    // A box runs its handler once per change the user makes: a pick from the
    // list (mouse or arrow keys) or an edit of its text. Completion would
    // change the text on its own, so it is off.
    const QList<QPair<QComboBox*, Handler>> boxes = {
        {ComboBox1, &TForm1::ComboBox1Change},
        {ComboBox2, &TForm1::ComboBox2Change},
        {ComboBox3, &TForm1::ComboBox3Change},
    };
    for (const auto& [box, handler] : boxes) {
        box->setCompleter(nullptr);
        // Leaving the field or pressing Enter is no change: the box would
        // otherwise pick the entry matching the typed text and report it.
        disconnect(box->lineEdit(), &QLineEdit::editingFinished, box, nullptr);
        disconnect(box->lineEdit(), &QLineEdit::returnPressed, box, nullptr);
        connect(box, &QComboBox::activated, this, [this, handler] { runCommand(handler); });
        connect(box->lineEdit(), &QLineEdit::textEdited, this,
                [this, handler] { runCommand(handler); });
    }

    connect(Memo1, &MemoEdit::keyReleased, this, &TForm1::Memo1KeyUp);
    connect(Memo1, &MemoEdit::mouseReleased, this, &TForm1::Memo1MouseUp);
    // The position follows every caret move, whatever caused it.
    connect(Memo1, &QPlainTextEdit::cursorPositionChanged, this, &TForm1::updateCaretPosition);
    connect(Memo1, &QPlainTextEdit::selectionChanged, this, &TForm1::updateCaretPosition);
    connect(&markup::RowIndex::of(*Memo1), &markup::RowIndex::progressed, this, [this] {
        if (m_caretRowPending) updateCaretPosition();
    });
    // One filter on the application sees the Insert key wherever it is
    // pressed, as well as the events of the window's own widgets below.
    qApp->installEventFilter(this);

    connect(PageControl1, &QTabWidget::currentChanged, this, [this](int index) {
        if (PageControl1->widget(index) == TabSheet2) runCommand(&TForm1::TabSheet2Show);
    });
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    Timer1->start();
}

bool TForm1::noteInsertKey(QObject* receiver, QEvent* event)
{
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Insert || key->modifiers() != Qt::NoModifier || key->isAutoRepeat())
        return false;
    // A key event travels on to the parents of a widget that leaves it;
    // count it once, at the widget it was sent to first.
    QWidget* first = QApplication::focusWidget();
    if (!first) first = QApplication::activeWindow();
    if (receiver != first) return false;
    m_insertToggle = !m_insertToggle;
    Memo1->setOverwriteMode(m_insertToggle);
    return true;
}

bool TForm1::noteEdit1Key(QObject* receiver, QEvent* event)
{
    if (receiver != Edit1) return false;
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress) return false;
    // The edit menu's keys edit the custom symbol while the box has the
    // focus: a paste goes into the box, not into the post.
    static const QList<QKeySequence> editingKeys = {
        Qt::CTRL | Qt::Key_Z,      Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::Key_X,
        Qt::CTRL | Qt::Key_C,      Qt::CTRL | Qt::Key_V, Qt::CTRL | Qt::SHIFT | Qt::Key_V,
        Qt::CTRL | Qt::Key_Delete, Qt::CTRL | Qt::Key_A,
    };
    auto* key = static_cast<QKeyEvent*>(event);
    const QKeySequence pressed(key->keyCombination());
    if (!editingKeys.contains(pressed)) return false;
    if (type == QEvent::ShortcutOverride) {
        key->accept();
        return true;
    }
    // The line edit knows Redo only under the desktop's own key, and has
    // no paste of its own for rich text: the symbol is plain text.
    if (pressed == QKeySequence(Qt::CTRL | Qt::Key_Y)) {
        Edit1->redo();
        return true;
    }
    if (pressed == QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V)) {
        Edit1->paste();
        return true;
    }
    return false;
}

bool TForm1::noteFileDrop(QObject* receiver, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
    if (!receiver->isWidgetType() || static_cast<QWidget*>(receiver)->window() != this)
        return false;
    auto* drag = static_cast<QDropEvent*>(event);
    // Dragged text still goes into the editing area; only files open.
    const QString path = FirstDroppedFile(drag->mimeData());
    if (path.isEmpty()) return false;
    drag->setDropAction(Qt::CopyAction);
    drag->accept();
    if (type == QEvent::Drop) {
        // After the drop has been answered: the question and the error box
        // must not hold up the program the file came from.
        QTimer::singleShot(0, this, [this, path] { openDocumentAsking(path); });
    }
    return true;
}
