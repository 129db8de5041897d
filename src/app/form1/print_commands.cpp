// The print command: the lines as the editing area shows them, in its font.
#include <QProgressDialog>
#include <climits>

#include "app/form1/form1.h"
#include "app/memo_edit.h"
#include "markup/editor_lines.h"
#include "platform/printer_device.h"
#include "print/print_job.h"

using namespace Qt::Literals::StringLiterals;

void TForm1::N26Click()
{
    if (!m_printer) {
        m_systemPrinter = platform::MakeSystemPrinter(this);
        m_printer = m_systemPrinter.get();
    }
    if (!m_printer->setup()) return;
    const platform::PrintFont font = print::EditorPrintFont(*Memo1);
    // A long job shows how far it has got and can be called off; the window
    // waits meanwhile, but keeps drawing itself.
    QProgressDialog progress(u"列印中…"_s, u"取消"_s, 0, 1, this);
    progress.setWindowTitle(u"列印"_s);
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(500);
    progress.setAutoReset(false);
    progress.setValue(0);
    const auto pages =
        print::PrintLines(*m_printer, markup::DisplayedLines(*Memo1), font,
                          [&progress](qsizetype finished, qsizetype total) {
                              progress.setMaximum(int(std::min<qsizetype>(total, INT_MAX)));
                              progress.setValue(int(std::min<qsizetype>(finished, INT_MAX)));
                              return !progress.wasCanceled();
                          });
    progress.close();
    if (!pages) return;
    m_prompts.message(u"列印完成！共計列印： "_s + QString::number(*pages) + u" 頁"_s);
}
