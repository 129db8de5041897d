// Find and replace through the two modeless dialogs.
#include <QPointer>
#include <QProgressDialog>
#include <QTextCursor>
#include <QThreadPool>

#include <memory>

#include "app/find_dialog.h"
#include "app/form1/form1.h"
#include "app/memo_edit.h"
#include "markup/document_search.h"
#include "markup/insertion.h"
#include "markup/stepwise_text.h"

using namespace Qt::Literals::StringLiterals;

namespace {

QString NotFound(const QString& what)
{
    return u"找不到「"_s + what + u"」字串！"_s;
}

// Scrolls to the text from `start` to the caret and moves the dialog off it.
void KeepInSight(QPlainTextEdit& memo, FindReplaceDialog& dialog, int start)
{
    memo.ensureCursorVisible();
    QTextCursor from = memo.textCursor();
    from.setPosition(start);
    const QRect shown = memo.cursorRect(from).united(memo.cursorRect());
    dialog.keepClearOf(QRect(memo.viewport()->mapToGlobal(shown.topLeft()), shown.size()));
}

}  // namespace

void TForm1::buildFindDialogs()
{
    FindDialog1 = new FindReplaceDialog(false, this);
    FindDialog1->setObjectName(u"FindDialog1"_s);
    ReplaceDialog1 = new FindReplaceDialog(true, this);
    ReplaceDialog1->setObjectName(u"ReplaceDialog1"_s);
    connect(FindDialog1, &FindReplaceDialog::findNext, this, &TForm1::FindDialog1Find);
    connect(ReplaceDialog1, &FindReplaceDialog::findNext, this, &TForm1::ReplaceDialog1Find);
    connect(ReplaceDialog1, &FindReplaceDialog::replace, this, &TForm1::ReplaceDialog1Replace);
}

void TForm1::N29Click()
{
    FindDialog1->showInFront();
}

void TForm1::N30Click()
{
    ReplaceDialog1->showInFront();
}

void TForm1::findNextFrom(FindReplaceDialog& dialog)
{
    const QString what = dialog.findText();
    // The dialogs stay open beside a busy window, the document changing.
    if (what.isEmpty() || busy()) return;
    const markup::FindOptions options = dialog.options();
    const QTextCursor current = Memo1->textCursor();
    // Down from the end of the selection, so a selected occurrence is
    // passed over; up from its start. No wrap-around.
    const int from = options.backward ? current.selectionStart() : current.selectionEnd();
    const auto found = markup::FindInDocument(*Memo1->document(), what, from, options);
    if (!found) {
        m_prompts.messageDialog(platform::Prompts::MessageKind::Information, NotFound(what));
        return;
    }
    // Typing goes on into the post: the window comes forward with the focus
    // in the editing area, and the dialog stays open beside it for the next
    // press.
    activateWindow();
    Memo1->setFocus();
    QTextCursor cursor = current;
    cursor.setPosition(found->start);
    cursor.setPosition(found->end, QTextCursor::KeepAnchor);
    Memo1->setTextCursor(cursor);
    KeepInSight(*Memo1, dialog, found->start);
}

void TForm1::FindDialog1Find()
{
    findNextFrom(*FindDialog1);
}

void TForm1::ReplaceDialog1Find()
{
    findNextFrom(*ReplaceDialog1);
}

void TForm1::ReplaceDialog1Replace()
{
    const QString what = ReplaceDialog1->findText();
    if (what.isEmpty() || busy()) return;
    markup::FindOptions options = ReplaceDialog1->options();
    options.backward = false;
    QTextDocument& document = *Memo1->document();
    if (ReplaceDialog1->replaceAll() && document.characterCount() >= kStepwiseReplaceCharacters) {
        replaceAllInSteps(what, ReplaceDialog1->replaceText(), options);
        return;
    }
    if (ReplaceDialog1->replaceAll()) {
        int end = 0;
        if (markup::ReplaceAllInDocument(document, what, ReplaceDialog1->replaceText(), options,
                                         &end) == 0) {
            m_prompts.messageDialog(platform::Prompts::MessageKind::Error, NotFound(what));
            return;
        }
        QTextCursor cursor = Memo1->textCursor();
        cursor.setPosition(end);
        Memo1->setTextCursor(cursor);
        KeepInSight(*Memo1, *ReplaceDialog1, end);
        return;
    }
    // One occurrence per press, always the first in the document.
    const auto found = markup::FindInDocument(document, what, 0, options);
    if (!found) {
        m_prompts.messageDialog(platform::Prompts::MessageKind::Error, NotFound(what));
        return;
    }
    QTextCursor cursor = Memo1->textCursor();
    cursor.setPosition(found->start);
    cursor.setPosition(found->end, QTextCursor::KeepAnchor);
    Memo1->setTextCursor(cursor);
    markup::InsertAtCaret(*Memo1, ReplaceDialog1->replaceText());
    KeepInSight(*Memo1, *ReplaceDialog1, found->start);
}

void TForm1::replaceAllInSteps(const QString& what, const QString& with,
                               const markup::FindOptions& options)
{
    const QPointer<QProgressDialog> box = showBusyBox(u"取代中"_s, "ReplacingDialog1");
    QThreadPool::globalInstance()->start([text = Memo1->document()->toRawText(), what, with,
                                          options, self = QPointer<TForm1>(this), box] {
        auto found = std::make_shared<markup::Replacements>(
            markup::FindReplacements(text, what, with, options));
        if (!self) return;
        QMetaObject::invokeMethod(self, [self, box, found, what] {
            if (found->count == 0) {
                self->closeBusyBox(box);
                self->m_prompts.messageDialog(platform::Prompts::MessageKind::Error,
                                              NotFound(what));
                return;
            }
            new markup::StepwiseEdits(*self->Memo1->document(), std::move(found->edits), [=] {
                if (!self) return;
                self->closeBusyBox(box);
                QTextCursor cursor = self->Memo1->textCursor();
                cursor.setPosition(found->end);
                self->Memo1->setTextCursor(cursor);
                KeepInSight(*self->Memo1, *self->ReplaceDialog1, found->end);
            });
        });
    });
}
