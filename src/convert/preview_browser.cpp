#include "convert/preview_browser.h"

#include <QCoreApplication>
#include <QOpenGLContext>

#include "platform/module_loader.h"

// Qt's hook for the application-wide share context: exported by Qt GUI,
// declared only in its private headers.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);

using namespace Qt::StringLiterals;

namespace convert {
namespace {

// The engine renders through OpenGL and shares its textures through the
// application's global share context. Qt makes that context while the
// application starts, if asked to (Qt::AA_ShareOpenGLContexts), and with it
// loads the whole OpenGL stack (some 55 MB with Mesa's software renderer)
// into every run, previews or not. So the program does not ask, and makes
// the context here, before the engine is loaded, as the engine itself does
// when it starts with the application.
void EnsureShareContext()
{
    if (QOpenGLContext::globalShareContext()) return;
    auto* const context = new QOpenGLContext(qApp);
    if (!context->create()) {
        // No OpenGL here (the offscreen platform): the engine renders
        // without it.
        delete context;
        return;
    }
    qt_gl_set_global_share_context(context);
}

}  // namespace

PreviewBrowser* MakePreviewBrowser(QWidget* parent)
{
    static PreviewModuleFactory factory = nullptr;
    if (!factory)
        factory = reinterpret_cast<PreviewModuleFactory>(platform::LoadModuleEntry(
            QStringLiteral(QUILLPOST_PREVIEW_MODULE_FILE),
            QStringLiteral(QUILLPOST_PREVIEW_MODULE_DIR), kPreviewModuleFactory,
            u"無法載入預覽元件"_s, EnsureShareContext));
    return factory(parent);
}

}  // namespace convert
