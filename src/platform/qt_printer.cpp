#include "platform/qt_printer.h"

#include <QFile>
#include <QFontMetrics>
#include <QPrintDialog>

using namespace Qt::Literals::StringLiterals;

namespace platform {

extern "C" Q_DECL_EXPORT PrinterDevice* quillpost_make_system_printer(QWidget* dialogParent)
{
    return new QtPrinter(dialogParent);
}

QtPrinter::~QtPrinter()
{
    abortJob();
}

void QtPrinter::abortJob()
{
    if (!m_painter.isActive()) return;
    m_printer.abort();
    m_painter.end();
    // Qt still finishes a PDF file with the pages drawn so far; a job called
    // off leaves no such part of a document behind.
    if (!m_printer.outputFileName().isEmpty()) QFile::remove(m_printer.outputFileName());
}

bool QtPrinter::setup()
{
    QPrintDialog dialog(&m_printer, m_dialogParent);
    // Only what applies to a plain run of lines.
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    return dialog.exec() == QDialog::Accepted;
}

void QtPrinter::fail(const QString& what)
{
    // A job that failed midway is called off, so nothing half-printed is
    // left in the queue as if it had worked.
    abortJob();
    throw PrinterError(what.toStdString());
}

void QtPrinter::beginJob(const QFont& font)
{
    if (!m_printer.isValid()) fail(u"Printer selected is not valid"_s);
    if (!m_painter.begin(&m_printer)) {
        const QString target = m_printer.outputFileName().isEmpty() ? m_printer.printerName()
                                                                    : m_printer.outputFileName();
        fail(u"Cannot print to "_s + target);
    }
    m_painter.setFont(font);
    m_painter.setPen(Qt::black);
}

int QtPrinter::textHeight(const QString& text) const
{
    return m_painter.fontMetrics().boundingRect(text).height();
}

int QtPrinter::printableHeight() const
{
    return m_printer.height();
}

void QtPrinter::drawText(int x, int y, const QString& text)
{
    const QFontMetrics metrics = m_painter.fontMetrics();
    // The top edge is given; Qt draws from the baseline.
    m_painter.drawText(
        QRect(x, y, std::max(1, metrics.horizontalAdvance(text)), metrics.height()),
        Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip | Qt::TextSingleLine | Qt::TextExpandTabs,
        text);
}

void QtPrinter::newPage()
{
    if (!m_printer.newPage()) fail(u"The print job failed"_s);
}

void QtPrinter::endJob()
{
    const bool failed = m_printer.printerState() == QPrinter::Error;
    if (failed) fail(u"The print job failed"_s);
    if (!m_painter.end() || m_printer.printerState() == QPrinter::Error)
        throw PrinterError("The print job failed");
}

}  // namespace platform
