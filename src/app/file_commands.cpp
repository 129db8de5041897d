// Document files and the clipboard and edit commands.
#include <QDropEvent>
#include <QMimeData>
#include <QTextCursor>
#include <QTimer>
#include <QUrl>

#include "app/form1.h"
#include "app/memo_edit.h"
#include "markup/editor_lines.h"
#include "text/document_file.h"

using namespace Qt::Literals::StringLiterals;

void TForm1::SpeedButton18Click()
{
    if (Memo1->document()->isModified() &&
        !m_prompts.confirm(u"開啟舊檔-確認視窗"_s, u"未存檔！是否繼續？"_s))
        return;
    const auto path = m_prompts.chooseFile(OpenDialog1);
    if (!path) return;
    openDocument(*path);
}

bool TForm1::openDocument(const QString& path)
{
    QString error;
    QString reason;
    const auto document = text::ReadDocumentFile(path, &error, &reason);
    if (!document) {
        m_prompts.errorWithDetail(error, reason);
        return false;
    }
    Memo1->setPlainText(markup::EditorText(document->text));
    Memo1->document()->setModified(false);
    m_fileEncoding = document->encoding;
    m_currentFileName = path;
    setCaptionFor(path);
    return true;
}

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

bool TForm1::openDocumentAsking(const QString& path)
{
    if (Memo1->document()->isModified() &&
        !m_prompts.confirm(u"開啟舊檔-確認視窗"_s, u"未存檔！是否繼續？"_s))
        return false;
    return openDocument(path);
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

bool TForm1::writeDocument(const QString& path)
{
    QString error;
    QString reason;
    const QString document = markup::DocumentText(*Memo1);
    if (!text::WriteDocumentFile(path, document, m_fileEncoding, &error, &reason)) {
        if (reason.isEmpty()) {
            showRefusedCharacter(document, &error);
            m_prompts.error(error);
        } else {
            m_prompts.errorWithDetail(error, reason);
        }
        return false;
    }
    Memo1->document()->setModified(false);
    return true;
}

void TForm1::showRefusedCharacter(const QString& document, QString* error)
{
    // Only a refusal costs this second pass, never a save that succeeds.
    const qsizetype at = text::FirstUnencodable(document, m_fileEncoding);
    if (at < 0) return;
    // Numbered as the status bar numbers the caret, on the rows shown.
    const int position = int(at);
    const markup::RowPosition row = markup::RowOfPosition(*Memo1, position);
    *error = text::UnencodableMessage(document, at, row.row + 1, position - row.rowStart + 1,
                                      m_fileEncoding);
    QTextCursor cursor(Memo1->document());
    cursor.setPosition(position);
    Memo1->setTextCursor(cursor);
    Memo1->ensureCursorVisible();
    Memo1->setFocus();
}

void TForm1::N27Click()
{
    if (m_currentFileName == kUntitled) {
        SpeedButton19Click();
        return;
    }
    writeDocument(m_currentFileName);
}

void TForm1::SpeedButton19Click()
{
    const auto path = m_prompts.chooseFile(SaveDialog1);
    if (!path || !writeDocument(*path)) return;
    m_currentFileName = *path;
    setCaptionFor(*path);
}

void TForm1::SpeedButton51Click()
{
    const auto path = m_prompts.chooseFile(OpenDialog2);
    if (!path) return;
    QString error;
    QString reason;
    const auto lines = text::ReadArticleLines(*path, &error, &reason);
    if (!lines) {
        m_prompts.errorWithDetail(error, reason);
        return;
    }
    qint64 size = Memo1->document()->characterCount();
    for (const QString& line : *lines) size += line.size() + 1;
    if (size > text::kMaxDocumentBytes) {
        m_prompts.errorWithDetail(u"Cannot open file "_s + *path, text::TooLargeReason(size));
        return;
    }
    QStringList editorLines;
    editorLines.reserve(lines->size());
    for (const QString& line : *lines) editorLines.append(markup::EditorText(line));
    appendLines(editorLines);
}

void TForm1::SpeedButton15Click()
{
    // The whole document stays selected, showing what was sent.
    Memo1->selectAll();
    Memo1->copy();
}

void TForm1::SpeedButton16Click()
{
    // Wiped without a question, but as an edit, so Undo brings the text back.
    QTextCursor all(Memo1->document());
    all.select(QTextCursor::Document);
    all.removeSelectedText();
    Memo1->document()->setModified(false);
}

void TForm1::SpeedButton17Click()
{
    Memo1->undo();
}
void TForm1::SpeedButton48Click()
{
    Memo1->redo();
}
void TForm1::SpeedButton22Click()
{
    Memo1->cut();
}
void TForm1::SpeedButton23Click()
{
    Memo1->copy();
}
void TForm1::SpeedButton24Click()
{
    Memo1->paste();
}
void TForm1::N22Click()
{
    Memo1->selectAll();
}
