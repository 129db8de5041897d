#pragma once

#include <QFont>
#include <QString>
#include <memory>
#include <stdexcept>

class QWidget;

namespace platform {

// The text of a job: the editing area's font, and its tab stops in points,
// so that a line comes out on paper as the editing area shows it; 0 for
// Qt's default stops.
struct PrintFont {
    QFont font;
    qreal tabStopPoints = 0;
};

// What the print command asks of a printer. Lengths are in the printer's
// device units. A failure of the printing system throws PrinterError with a
// text for the application's error box.
class PrinterDevice {
public:
    virtual ~PrinterDevice() = default;

    // The print dialog (printer, paper, orientation, or a PDF file); false
    // when the user cancels it.
    virtual bool setup() = 0;
    // Starts a job whose text is drawn in `font`, at its point size.
    virtual void beginJob(const PrintFont& font) = 0;
    virtual int textHeight(const QString& text) const = 0;
    virtual int printableHeight() const = 0;
    // Draws one line, its top-left corner at (x, y), unwrapped and unclipped,
    // its tabs expanded to the job's tab stops.
    virtual void drawText(int x, int y, const QString& text) = 0;
    virtual void newPage() = 0;
    virtual void endJob() = 0;
    // Calls the job off; what was sent of it is not printed where the
    // printing system can help it.
    virtual void abortJob() = 0;
};

class PrinterError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The system's printers and PDF output, through Qt's print dialog; the
// dialog's settings stay for the next print. Qt's printing support lives in
// a module of the program's own, loaded by the first call, so that starting
// the program does not load it. Throws PrinterError, with a text for the
// user, when the module cannot be loaded.
std::unique_ptr<PrinterDevice> MakeSystemPrinter(QWidget* dialogParent);

// The name under which the module exports the printer's maker, and its type.
inline constexpr char kPrinterModuleFactory[] = "quillpost_make_system_printer";
using PrinterModuleFactory = PrinterDevice* (*)(QWidget* dialogParent);

}  // namespace platform
