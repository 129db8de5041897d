// The one entry point of the preview module, looked up by name when the
// first preview is shown, and the engine's set-up.
#include "convert/preview_module.h"

#include <QQuickWindow>
#include <QtGlobal>

#include "convert/preview_browser.h"
#include "convert/preview_scheme.h"
#include "convert/preview_view.h"

namespace convert {

void PrepareBrowserEngine()
{
    static const bool prepared = [] {
        RegisterPreviewScheme();
        // The view shows what the engine drew through Qt Quick. Drawn through
        // OpenGL, it would need the main window to have been made for
        // OpenGL, and Qt would destroy and make again the window, already on
        // screen, to get one: the window would blink away on the first
        // preview. Quick's software renderer puts the engine's frames on the
        // window as it is; for pages of text and pictures that costs nothing
        // visible.
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        return true;
    }();
    Q_UNUSED(prepared);
}

}  // namespace convert

extern "C" Q_DECL_EXPORT convert::PreviewBrowser* quillpost_make_preview_browser(QWidget* parent)
{
    return new convert::PreviewView(parent);
}
