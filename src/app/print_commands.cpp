// The print command.
#include <QFontInfo>

#include "app/form1.h"
#include "app/memo_edit.h"
#include "app/print_job.h"
#include "markup/editor_lines.h"
#include "platform/printer_device.h"

using namespace Qt::Literals::StringLiterals;

void TForm1::N26Click()
{
    if (!m_printer) {
        m_systemPrinter = makeSystemPrinter(this);
        m_printer = m_systemPrinter.get();
    }
    if (!m_printer->setup()) return;
    // The editing area's font at the same point size on paper.
    QFont font = Memo1->font();
    font.setPointSizeF(QFontInfo(Memo1->font()).pointSizeF());
    guarded([&] {
        const qsizetype pages =
            printing::PrintLines(*m_printer, markup::DisplayedLines(*Memo1), font);
        m_prompts.message(u"列印完成！共計列印： "_s + QString::number(pages) + u" 頁"_s);
    });
}
