#pragma once

#include <QPointer>
#include <QStringList>
#include <QWebEngineView>
#include <memory>

#include "convert/preview_browser.h"

class QEventLoop;
class QWebEngineProfile;

namespace convert {

class PreviewSchemeHandler;

// The preview's browser view. Shows the post as the web would show it, with
// its pictures, videos and sounds, but runs none of its scripts or plug-ins
// and gives it no access to the user's files: posts are often pasted from
// pages nobody here wrote.
class PreviewView : public QWebEngineView, public PreviewBrowser {
    Q_OBJECT
public:
    // What LoadPageLines reports; anything but Loaded is a failure.
    enum LoadStatus {
        Loaded = 0,
        LoadFailed = 1,  // the engine refused the page or its process died
        TimedOut = 2,    // the page had not arrived when the wait ended
        Superseded = 3,  // a later LoadPageLines replaced it while waiting
    };

    explicit PreviewView(QWidget* parent = nullptr);
    ~PreviewView() override;

    // Makes the page, given as its lines, the view's document, decoded as
    // Big5 as the page declares. Waits, processing events, until the engine
    // has the page parsed (its pictures may still be arriving), at most a
    // few seconds. On failure the view goes on showing what it showed.
    int LoadPageLines(const QStringList& pageLines) override;
    void ShowPage(const QByteArray& pageBytes, std::function<void(bool)> done) override;
    void ScrollToLine(int line, double fraction) override;
    void Release() override;
    void OnRendererEnded(std::function<void()> ended) override;

    QWidget* widget() override { return this; }

protected:
    // Links that ask for a new window open in the view itself.
    QWebEngineView* createWindow(QWebEnginePage::WebWindowType type) override;
    // Out of sight (another tab shown, the window minimised), the page is
    // frozen: its videos, sounds, timers and fetches wait, and it comes back
    // as it was when the view is shown again.
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void applySettings();
    void pollDocument(const QUrl& url);
    // Puts the page ShowPage was given into the document shown, in place,
    // and tells `finish` whether it went in.
    void updatePage(const QByteArray& pageBytes, std::function<void(bool)> finish);
    // Tells the caller of ShowPage how it went, once.
    void finishShow(quint64 show, bool shown);

    QWebEngineProfile* m_profile = nullptr;
    PreviewSchemeHandler* m_handler = nullptr;
    // Owned here, not by the view as a Qt child: the page must go before the
    // profile it was made with, which the view's children outlive.
    std::unique_ptr<QWebEnginePage> m_page;
    QPointer<QEventLoop> m_wait;
    quint64 m_generation = 0;
    std::function<void(bool)> m_showDone;
    std::function<void()> m_rendererEnded;
    quint64 m_show = 0;  // counts the pages ShowPage was given
    // The view shows the last page ShowPage loaded, in a working renderer,
    // so that the next can go into its document.
    bool m_updatable = false;
};

}  // namespace convert
