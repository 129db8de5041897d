// The file menu: New, Open, Save, Save As, Insert article and Send to
// clipboard, and putting a recovered document back.
#include <QAction>
#include <QFileInfo>
#include <QPointer>
#include <QProgressDialog>
#include <QTextCursor>
#include <QThreadPool>

#include <memory>

#include "app/form1/form1.h"
#include "app/memo_edit.h"
#include "convert/chinese_script.h"
#include "markup/editor_lines.h"
#include "markup/stepwise_text.h"
#include "text/document_file.h"
#include "text/file_stamp.h"

using namespace Qt::Literals::StringLiterals;

void TForm1::N7Click()
{
    if (!askToDiscard(u"開啟新檔-確認視窗"_s)) return;
    Memo1->clear();
    Memo1->document()->setModified(false);
    setCaptionFor(kUntitled);
    m_currentFileName = kUntitled;
    setFileEncoding(text::FileEncoding::Big5);
    m_fileStamp.reset();
}

void TForm1::SpeedButton18Click()
{
    if (!askToDiscard(u"開啟舊檔-確認視窗"_s)) return;
    const auto path = m_prompts.chooseFile(OpenDialog1);
    if (!path) return;
    openDocument(*path);
}

bool TForm1::openDocument(const QString& path)
{
    QString error;
    QString reason;
    text::FileStamp stamp;
    std::optional<QByteArray> bytes = text::ReadDocumentBytes(path, &error, &reason, &stamp);
    if (!bytes) {
        m_prompts.errorWithDetail(error, reason);
        return false;
    }
    if (bytes->size() < kStepwiseOpenBytes) {
        const text::DocumentText document = text::DecodeDocument(*bytes);
        Memo1->setPlainText(markup::EditorText(document.text));
        boundTo(path, document.encoding, stamp);
        return true;
    }
    const QPointer<QProgressDialog> box = showBusyBox(u"載入中"_s, "LoadingDialog1");
    auto decoded = std::make_shared<text::DocumentText>();
    QThreadPool::globalInstance()->start([bytes = std::move(*bytes), decoded,
                                          self = QPointer<TForm1>(this), box, path,
                                          stamp]() mutable {
        *decoded = text::DecodeDocument(bytes);
        bytes = QByteArray();
        decoded->text = markup::EditorText(std::move(decoded->text));
        if (!self) return;
        QMetaObject::invokeMethod(self, [self, box, decoded, path, stamp] {
            new markup::StepwiseText(*self->Memo1, std::move(decoded->text), [=] {
                if (!self) return;
                self->closeBusyBox(box);
                self->boundTo(path, decoded->encoding, stamp);
            });
        });
    });
    return true;
}

void TForm1::boundTo(const QString& path, text::FileEncoding encoding, const text::FileStamp& stamp)
{
    Memo1->document()->setModified(false);
    setFileEncoding(encoding);
    m_currentFileName = path;
    m_fileStamp = stamp;
    setCaptionFor(path);
}

bool TForm1::openDocumentAsking(const QString& path)
{
    return askToDiscard(u"開啟舊檔-確認視窗"_s) && openDocument(path);
}

bool TForm1::writeDocument(const QString& path)
{
    QString error;
    QString reason;
    const QString document = markup::DocumentText(*Memo1);
    text::FileStamp stamp;
    if (!text::WriteDocumentFile(path, document, m_fileEncoding, &error, &reason, &stamp)) {
        if (reason.isEmpty()) {
            showRefusedCharacter(document, &error);
            // Simplified characters that Traditional ones Big5 holds would
            // replace: the box offers the conversion, then the save.
            if (m_fileEncoding == text::FileEncoding::Big5) {
                const auto converted =
                    convert::ConvertScript(document, convert::ScriptConversion::SimplifiedToTaiwan);
                // Without Simplified text in it, the box stays as it was.
                if (converted && *converted != document) {
                    const qsizetype left = text::FirstUnencodable(*converted, m_fileEncoding);
                    if (left < 0) {
                        if (!m_prompts.confirm(
                                u"儲存檔案"_s,
                                error + u"\n\n要把文件轉換成繁體（臺灣用語）再存檔嗎？"_s))
                            return false;
                        QTextCursor all(Memo1->document());
                        all.select(QTextCursor::Document);
                        all.insertText(markup::EditorText(*converted));
                        return writeDocument(path);
                    }
                    const qsizetype width = converted->at(left).isHighSurrogate() ? 2 : 1;
                    error +=
                        u"\n轉換成繁體（臺灣用語）後，仍有 Big5 無法儲存的字，第一個是「%1」。"_s
                            .arg(converted->mid(left, width));
                }
            }
            m_prompts.error(error);
        } else {
            m_prompts.errorWithDetail(error, reason);
        }
        return false;
    }
    m_encodingAsRead = m_fileEncoding;
    m_fileStamp = stamp;
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
    // Another program's changes since the file was read or written are not
    // overwritten without a word. A file deleted meanwhile is written anew.
    if (m_fileStamp &&
        text::CheckFileStamp(m_currentFileName, *m_fileStamp) == text::StampCheck::Changed &&
        !m_prompts.askYesNo(u"檔案已變更"_s,
                            u"「"_s + QFileInfo(m_currentFileName).fileName() +
                                u"」已被其他程式修改過，要以目前的內容覆蓋它嗎？"_s))
        return;
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

QTextDocument& TForm1::hostedDocument()
{
    return *Memo1->document();
}

void TForm1::restoreDocument(const QString& text, const QString& fileName,
                             text::FileEncoding encoding)
{
    Memo1->setPlainText(text);
    Memo1->document()->setModified(true);
    setFileEncoding(encoding);
    m_currentFileName = fileName;
    // What the file is now is all that is known of it.
    m_fileStamp = text::ReadFileStamp(fileName);
    setCaptionFor(fileName);
}

void TForm1::setFileEncoding(text::FileEncoding encoding)
{
    m_fileEncoding = encoding;
    m_encodingAsRead = encoding;
    action(encoding == text::FileEncoding::Big5 ? "N62" : "N63")->setChecked(true);
}

void TForm1::chooseFileEncoding(text::FileEncoding encoding)
{
    const bool big5 = encoding == text::FileEncoding::Big5;
    action(big5 ? "N62" : "N63")->setChecked(true);
    if (big5 == (m_fileEncoding == text::FileEncoding::Big5)) return;
    m_fileEncoding = encoding;
    // The file on disk is in the other encoding until the next save.
    Memo1->document()->setModified(true);
}

void TForm1::N62Click()
{
    chooseFileEncoding(text::FileEncoding::Big5);
}

void TForm1::N63Click()
{
    chooseFileEncoding(m_encodingAsRead == text::FileEncoding::Utf8Bom ? text::FileEncoding::Utf8Bom
                                                                       : text::FileEncoding::Utf8);
}
