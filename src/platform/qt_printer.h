#pragma once

#include <QPainter>
#include <QPrinter>

#include "platform/printer_device.h"

namespace platform {

// Prints through QPrinter and QPainter. With an output file name set on
// printer() the job goes to that PDF file.
class QtPrinter final : public PrinterDevice {
public:
    explicit QtPrinter(QWidget* dialogParent) : m_dialogParent(dialogParent) {}
    ~QtPrinter() override;

    QPrinter& printer() { return m_printer; }

    bool setup() override;
    void beginJob(const PrintFont& font) override;
    int textHeight(const QString& text) const override;
    int printableHeight() const override;
    void drawText(int x, int y, const QString& text) override;
    void newPage() override;
    void endJob() override;
    void abortJob() override;

private:
    [[noreturn]] void fail(const QString& what);

    QWidget* m_dialogParent;
    QPrinter m_printer{QPrinter::HighResolution};
    QPainter m_painter;
    qreal m_tabStop = 1;  // in device units
};

}  // namespace platform
