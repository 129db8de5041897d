#include "convert/preview_browser.h"

#include <dlfcn.h>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>
#include <QOpenGLContext>
#include <stdexcept>

// Qt's hook for the application-wide share context: exported by Qt GUI,
// declared only in its private headers.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);

using namespace Qt::StringLiterals;

namespace convert {
namespace {

// Where the module may be: beside the program in the build tree, then in
// lib/quillpost of the prefix the program runs from, then in the one it was
// configured for.
QStringList ModulePaths()
{
    const QString file = QStringLiteral(QUILLPOST_PREVIEW_MODULE_FILE);
    const QString programDir = QCoreApplication::applicationDirPath();
    return {programDir + u'/' + file, programDir + u"/../lib/quillpost/"_s + file,
            QStringLiteral(QUILLPOST_PREVIEW_MODULE_DIR) + u'/' + file};
}

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

PreviewModuleFactory LoadFactory()
{
    // Programs that link the module (the tests and benchmarks) have it
    // already.
    if (void* const linked = dlsym(RTLD_DEFAULT, kPreviewModuleFactory)) {
        EnsureShareContext();
        return reinterpret_cast<PreviewModuleFactory>(linked);
    }
    QStringList found;
    for (const QString& path : ModulePaths())
        if (QFileInfo::exists(path)) found.append(path);
    if (found.isEmpty())
        throw std::runtime_error(
            (u"無法載入預覽元件\n找不到 "_s + QStringLiteral(QUILLPOST_PREVIEW_MODULE_FILE))
                .toStdString());
    EnsureShareContext();
    QString failures;
    for (const QString& path : found) {
        // Never unloaded: the engine's threads and the views outlive any
        // one preview.
        QLibrary module(path);
        if (auto factory =
                reinterpret_cast<PreviewModuleFactory>(module.resolve(kPreviewModuleFactory)))
            return factory;
        failures += u"\n"_s + module.errorString();
    }
    throw std::runtime_error((u"無法載入預覽元件"_s + failures).toStdString());
}

}  // namespace

PreviewBrowser* MakePreviewBrowser(QWidget* parent)
{
    static PreviewModuleFactory factory = nullptr;
    if (!factory) factory = LoadFactory();
    return factory(parent);
}

}  // namespace convert
