#include "platform/qt_printer.h"

#include <QFile>
#include <QFontMetrics>
#include <QPrintDialog>

#include <cmath>

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

void QtPrinter::beginJob(const PrintFont& font)
{
    if (!m_printer.isValid()) fail(u"Printer selected is not valid"_s);
    if (!m_painter.begin(&m_printer)) {
        const QString target = m_printer.outputFileName().isEmpty() ? m_printer.printerName()
                                                                    : m_printer.outputFileName();
        fail(u"Cannot print to "_s + target);
    }
    m_painter.setFont(font.font);
    m_painter.setPen(Qt::black);
    // Without stops of its own, Qt's default: 80 pixels at 96 per inch.
    const qreal points = font.tabStopPoints > 0 ? font.tabStopPoints : 60.0;
    m_tabStop = points * m_printer.resolution() / 72.0;
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
    // Qt's PDF output, which on this system is what printers get too, drops
    // everything after a tab in a line laid out with its tabs. So each run
    // between tabs is drawn by itself, at the tab stop after the run before.
    const QFontMetricsF metrics(m_painter.font(), m_painter.device());
    const qreal baseline = y + metrics.ascent();  // the top edge is given
    qreal left = 0;
    for (qsizetype start = 0;;) {
        const qsizetype tab = text.indexOf(u'\t', start);
        const QString run = text.mid(start, tab < 0 ? -1 : tab - start);
        if (!run.isEmpty()) m_painter.drawText(QPointF(x + left, baseline), run);
        if (tab < 0) return;
        // As in the editing area: the first stop beyond the end of the run.
        const qreal end = left + metrics.horizontalAdvance(run);
        left = (std::floor(end / m_tabStop) + 1) * m_tabStop;
        start = tab + 1;
    }
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
