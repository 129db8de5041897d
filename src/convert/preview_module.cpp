// The one entry point of the preview module, looked up by name when the
// first preview is shown.
#include <QQuickWindow>
#include <QtGlobal>

#include "convert/preview_browser.h"
#include "convert/preview_view.h"

extern "C" Q_DECL_EXPORT convert::PreviewBrowser* quillpost_make_preview_browser(QWidget* parent)
{
    // The view shows what the engine drew through Qt Quick. Drawn through
    // OpenGL, it would need the main window to have been made for OpenGL,
    // and Qt would destroy and make again the window, already on screen, to
    // get one: the window would blink away on the first preview. Quick's
    // software renderer puts the engine's frames on the window as it is.
    // Posts are pages of text and pictures; that costs them nothing visible.
    static const bool chosen = [] {
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        return true;
    }();
    Q_UNUSED(chosen);
    return new convert::PreviewView(parent);
}
