#include <stdexcept>

#include "platform/module_loader.h"
#include "platform/printer_device.h"

using namespace Qt::StringLiterals;

namespace platform {

std::unique_ptr<PrinterDevice> MakeSystemPrinter(QWidget* dialogParent)
{
    static PrinterModuleFactory factory = nullptr;
    if (!factory) {
        try {
            factory = reinterpret_cast<PrinterModuleFactory>(
                platform::LoadModuleEntry(QStringLiteral(QUILLPOST_PRINTER_MODULE_FILE),
                                          QStringLiteral(QUILLPOST_PRINTER_MODULE_DIR),
                                          kPrinterModuleFactory, u"無法載入列印元件"_s));
        } catch (const std::runtime_error& failure) {
            throw PrinterError(failure.what());
        }
    }
    return std::unique_ptr<PrinterDevice>(factory(dialogParent));
}

}  // namespace platform
