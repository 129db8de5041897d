// The window's own commands (the welcome step, closing, help) and what every
// command shares: the runner that reports a failure, the caption, the
// unsaved-changes question.
#include <QAction>
#include <QFileInfo>
#include <QTextDocument>

#include <new>

#include "app/form1/form1.h"
#include "app/memo_edit.h"
#include "help/form2.h"
#include "markup/insertion.h"
#include "tray/vela_tray_icon.h"

using namespace Qt::Literals::StringLiterals;

void TForm1::runCommand(Handler handler)
{
    QTextDocument* const document = Memo1->document();
    const int undoSteps = document->availableUndoSteps();
    const bool modified = document->isModified();
    try {
        (this->*handler)();
    } catch (const std::bad_alloc&) {
        // Every change the command made is one undo step or more.
        while (document->availableUndoSteps() > undoSteps) {
            const int before = document->availableUndoSteps();
            document->undo();
            if (document->availableUndoSteps() >= before) break;
        }
        document->setModified(modified);
        m_prompts.errorWithDetail(u"Out of memory"_s, u"指令已停止，文件維持原狀"_s);
    } catch (const std::exception& failure) {
        m_prompts.error(QString::fromUtf8(failure.what()));
    }
}

bool TForm1::askToDiscard(const QString& caption)
{
    return !Memo1->document()->isModified() || m_prompts.confirm(caption, u"未存檔！是否繼續？"_s);
}

void TForm1::setCaptionFor(const QString& fileName)
{
    const QString shown = fileName == kUntitled ? u"未命名"_s : QFileInfo(fileName).fileName();
    setWindowTitle(u"Quillpost 4.0--"_s + shown);
}

QAction* TForm1::action(const char* name) const
{
    return findChild<QAction*>(QString::fromLatin1(name));
}

void TForm1::appendLines(const QStringList& lines)
{
    markup::AppendLines(*Memo1, lines);
}

void TForm1::FormShow()
{
    VelaTrayIcon1->ShowBalloon(u"歡迎使用"_s, u"Quillpost 4.0"_s, 3000);
    updateCaretPosition();
}

void TForm1::N15Click()
{
    close();
}

void TForm1::SpeedButton20Click()
{
    // Made on first use: hidden until then, it would only lengthen start-up.
    if (!Form2) Form2 = new help::TForm2(this);
    Form2->showInFront();
}
