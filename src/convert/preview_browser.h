#pragma once

#include <QByteArray>
#include <QStringList>
#include <functional>

class QWidget;

namespace convert {

// The preview's browser view as the main window sees it. The view and the
// browser engine behind it live in a module of their own that is loaded on
// the first preview, so that starting the program loads none of the engine.
class PreviewBrowser {
public:
    // The view itself; its parent owns and deletes it.
    virtual QWidget* widget() = 0;
    // Makes the page, given as its lines, the view's document; see PreviewView.
    virtual int LoadPageLines(const QStringList& pageLines) = 0;
    // The same without waiting, for a view kept up to date while the user
    // types: starts showing the page, given as the bytes PreviewPageBytes
    // makes, and returns at once. `done` is called once, with true when the
    // page has been parsed, false when it failed, timed out or a later page
    // replaced it; the view goes on showing what it showed until then.
    // While the view still shows the last page given this way, the next
    // goes into that page's document instead of being loaded, which the
    // engine does several times as fast; what is shown is the same.
    virtual void ShowPage(const QByteArray& pageBytes, std::function<void(bool)> done) = 0;
    // Scrolls the page so that the start of the post's line `line` is
    // `fraction` of the view's height from its top. The line is found by the
    // nearest marked line at or above it (see WithLineAnchors), the lines in
    // between taken as tall as that one.
    virtual void ScrollToLine(int line, double fraction) = 0;
    // Lets the engine drop the page shown, with all it holds, while the view
    // is out of sight for good; the next page shown starts afresh.
    virtual void Release() = 0;
    // Called whenever the engine's process drawing the view has ended (it
    // crashed or was killed): the view shows nothing until the next page,
    // which starts a new one.
    virtual void OnRendererEnded(std::function<void()> ended) = 0;

protected:
    virtual ~PreviewBrowser() = default;
};

// The name under which the module exports its one function, and its type.
inline constexpr char kPreviewModuleFactory[] = "quillpost_make_preview_browser";
using PreviewModuleFactory = PreviewBrowser* (*)(QWidget* parent);

// Loads the module (from beside the program, or from the folder
// lib/quillpost/modules of its prefix) unless it is already in the process,
// and makes a view as a child of `parent`. Throws std::runtime_error, with a
// text for the user, when the module cannot be loaded.
PreviewBrowser* MakePreviewBrowser(QWidget* parent);

}  // namespace convert
