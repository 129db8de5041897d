#include "convert/preview_view.h"

#include <QEventLoop>
#include <QTimer>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <functional>
#include <memory>

#include "convert/line_anchors.h"
#include "convert/preview_module.h"
#include "convert/preview_page.h"
#include "convert/preview_scheme.h"
#include "text/big5_codec.h"

using namespace Qt::StringLiterals;

namespace convert {
namespace {

// Long enough for the engine's first start on a busy machine, short enough
// that a stuck engine does not hold the preview command for long.
constexpr int kLoadWaitMs = 8000;
// A page shown without waiting may take its time: a post of 10 MB keeps the
// engine busy for half a minute and more on a slow machine, and a newer page
// would only start it over.
constexpr int kShowWaitMs = 180000;

// Said on the console, from the application's own script world, as soon as
// a document has been parsed; the page's own scripts never run, so nothing
// else can say it.
constexpr QLatin1StringView kReadyMessage("quillpost-document-ready ");
// Said in the same way by each frame's document as soon as it is made.
constexpr QLatin1StringView kFrameDocumentMessage("quillpost-frame-document");

// Shared with callbacks that may arrive after LoadPageLines has returned.
struct WaitState {
    int status = PreviewView::TimedOut;
    QPointer<QEventLoop> loop;
    void finish(int result)
    {
        if (!loop) return;
        status = result;
        loop->quit();
        loop = nullptr;
    }
};

// `text` as a script's string literal, in double quotes.
QString ScriptStringLiteral(QStringView text)
{
    QString literal;
    literal.reserve(text.size() + text.size() / 8 + 2);
    literal += u'"';
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'"' || u == u'\\') {
            literal += u'\\';
            literal += c;
        } else if (u < 0x20 || u == 0x2028 || u == 0x2029 || c.isSurrogate()) {
            // Lone halves of a pair would not survive the way to the engine
            // otherwise; whole pairs are written as their two halves.
            literal += u"\\u%1"_s.arg(int(u), 4, 16, QChar(u'0'));
        } else {
            literal += c;
        }
    }
    literal += u'"';
    return literal;
}

// The engine must be readied before it starts, which the first view's base
// class may already do.
QWidget* AfterEngineSetUp(QWidget* parent)
{
    PrepareBrowserEngine();
    return parent;
}

// The page of the preview. It tells when a document has been parsed: the load
// itself only finishes once every picture has arrived or failed, which for a
// slow server takes long. And it goes where the user asks and nowhere else: a
// post cannot move the view by itself (a refresh, a form, a redirect of its
// own), nor can a frame inside it, so what the preview shows stays the post
// until the user follows one of its links.
class PostPage final : public QWebEnginePage {
public:
    explicit PostPage(QWebEngineProfile* profile) : QWebEnginePage(profile)
    {
        connect(this, &QWebEnginePage::loadingChanged, this,
                [this](const QWebEngineLoadingInfo& info) {
                    if (info.status() != QWebEngineLoadingInfo::LoadStartedStatus)
                        m_followingClick = false;
                    // A new page has new frames; and the page has loaded
                    // only once each of its frames has.
                    m_frameLoads = 0;
                });
        QWebEngineScript report;
        report.setName(u"document-ready"_s);
        report.setInjectionPoint(QWebEngineScript::DocumentReady);
        report.setWorldId(QWebEngineScript::ApplicationWorld);
        report.setRunsOnSubFrames(false);
        report.setSourceCode(u"console.log('%1' + document.URL)"_s.arg(kReadyMessage));
        scripts().insert(report);
        QWebEngineScript frame;
        frame.setName(u"frame-document"_s);
        frame.setInjectionPoint(QWebEngineScript::DocumentCreation);
        frame.setWorldId(QWebEngineScript::ApplicationWorld);
        frame.setRunsOnSubFrames(true);
        frame.setSourceCode(
            u"if (window !== window.top) console.log('%1')"_s.arg(kFrameDocumentMessage));
        scripts().insert(frame);
    }

    std::function<void(const QUrl&)> onDocumentReady;

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message, int,
                                  const QString&) override
    {
        if (message == kFrameDocumentMessage && m_frameLoads > 0) --m_frameLoads;
        if (onDocumentReady && message.startsWith(kReadyMessage))
            onDocumentReady(QUrl(message.sliced(kReadyMessage.size())));
    }

    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override
    {
        Q_UNUSED(url);
        if (!isMainFrame) return acceptFrameNavigation(type);
        switch (type) {
            case NavigationTypeTyped:  // our own page, from LoadPageLines
            case NavigationTypeBackForward:
            case NavigationTypeReload:
                m_followingClick = false;
                return true;
            case NavigationTypeLinkClicked:
                m_followingClick = true;
                return true;
            case NavigationTypeRedirect:
                // A server may send a clicked link on; a page may not move by itself.
                return m_followingClick;
            default:  // forms, and anything the page starts on its own
                return false;
        }
    }

private:
    // A frame loads as a picture does, once, and again where the user clicks
    // in it; it does not move by itself.
    bool acceptFrameNavigation(NavigationType type)
    {
        switch (type) {
            case NavigationTypeOther:  // a frame's first load
            case NavigationTypeLinkClicked:
                ++m_frameLoads;
                return true;
            case NavigationTypeTyped:
            case NavigationTypeBackForward:
            case NavigationTypeReload:
                return true;
            case NavigationTypeRedirect:
                // The engine says "redirect" both for a server sending a
                // frame's load on and for a frame's own refresh, and does not
                // say which frame asks. A server's redirect comes while a
                // frame's load is under way; a refresh only once the frame
                // has loaded. (While one frame is still loading, another
                // frame's refresh can pass.)
                return m_frameLoads > 0;
            default:  // forms
                return false;
        }
    }

    bool m_followingClick = false;  // until the clicked page has loaded
    int m_frameLoads = 0;           // frame loads allowed that have no document yet
};

}  // namespace

PreviewView::PreviewView(QWidget* parent)
    : QWebEngineView(AfterEngineSetUp(parent)),
      // A private, off-the-record profile: nothing a post fetches is kept on
      // disk, and the page scheme's handler belongs to this view alone.
      m_profile(new QWebEngineProfile(this)),
      m_handler(new PreviewSchemeHandler(this))
{
    m_profile->installUrlSchemeHandler(PreviewSchemeHandler::schemeName(), m_handler);
    m_page = std::make_unique<PostPage>(m_profile);
    setPage(m_page.get());
    applySettings();
    connect(m_page.get(), &QWebEnginePage::renderProcessTerminated, this, [this] {
        m_updatable = false;
        if (m_rendererEnded) m_rendererEnded();
    });
}

PreviewView::~PreviewView()
{
    // The page first, while what its callbacks reach is still whole.
    m_page.reset();
}

void PreviewView::applySettings()
{
    QWebEngineSettings* const settings = m_page->settings();
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    settings->setAttribute(QWebEngineSettings::LocalStorageEnabled, false);
    settings->setAttribute(QWebEngineSettings::AutoLoadImages, true);
    // Background sounds and videos of a post start on their own, as in the
    // forum the post is written for.
    settings->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    // A file dropped on the preview would replace the post with a local page.
    settings->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
}

QWebEngineView* PreviewView::createWindow(QWebEnginePage::WebWindowType)
{
    return this;
}

void PreviewView::showEvent(QShowEvent* event)
{
    m_page->setLifecycleState(QWebEnginePage::LifecycleState::Active);
    QWebEngineView::showEvent(event);
}

void PreviewView::hideEvent(QHideEvent* event)
{
    QWebEngineView::hideEvent(event);
    // The engine freezes only a page it no longer takes for visible.
    if (!m_page->isVisible()) m_page->setLifecycleState(QWebEnginePage::LifecycleState::Frozen);
}

int PreviewView::LoadPageLines(const QStringList& pageLines)
{
    finishShow(m_show, false);
    m_updatable = false;
    const QUrl url = m_handler->publish(PreviewPageBytes(pageLines));
    const quint64 generation = ++m_generation;
    // An earlier call still waiting (the wait processes events, so a second
    // preview can start inside it) stops waiting for a page that is gone.
    if (m_wait) m_wait->quit();

    QEventLoop loop;
    const auto state = std::make_shared<WaitState>();
    state->loop = &loop;
    m_wait = &loop;

    connect(m_page.get(), &QWebEnginePage::loadingChanged, &loop,
            [state, url](const QWebEngineLoadingInfo& info) {
                if (info.url() != url) return;
                if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus)
                    state->finish(Loaded);
                else if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus)
                    state->finish(LoadFailed);
            });
    connect(m_page.get(), &QWebEnginePage::renderProcessTerminated, &loop,
            [state] { state->finish(LoadFailed); });

    // The document is ready as soon as it has been parsed.
    static_cast<PostPage*>(m_page.get())->onDocumentReady = [state, url](const QUrl& ready) {
        if (ready == url) state->finish(Loaded);
    };
    QTimer::singleShot(kLoadWaitMs, &loop, [state] { state->finish(TimedOut); });

    // A page is loaded only into a working one, seen or not.
    m_page->setLifecycleState(QWebEnginePage::LifecycleState::Active);
    m_page->load(url);
    const QPointer<PreviewView> alive(this);
    loop.exec();
    if (!alive) return LoadFailed;
    if (generation != m_generation) return Superseded;
    if (state->status == Loaded) m_page->history()->clear();
    return state->status;
}

void PreviewView::ShowPage(const QByteArray& pageBytes, std::function<void(bool)> done)
{
    finishShow(m_show, false);
    ++m_generation;
    if (m_wait) m_wait->quit();
    const quint64 show = ++m_show;
    m_showDone = std::move(done);
    // Dropped with the watch once the page is in, or given up on.
    auto* const watch = new QObject(this);
    const auto finish = [this, show, watched = QPointer<QObject>(watch)](bool shown) {
        if (watched) watched->deleteLater();
        // Each page shown would otherwise stay in the view's history, with
        // what the engine keeps to go back to it.
        if (shown) m_page->history()->clear();
        m_updatable = shown;
        finishShow(show, shown);
    };
    connect(m_page.get(), &QWebEnginePage::renderProcessTerminated, watch,
            [finish] { finish(false); });
    QTimer::singleShot(kShowWaitMs, watch, [finish] { finish(false); });

    // Our last page still shown: the new one goes into its document.
    if (m_updatable && m_page->url() == m_handler->url() &&
        m_page->lifecycleState() == QWebEnginePage::LifecycleState::Active) {
        updatePage(pageBytes, finish);
        return;
    }
    m_updatable = false;
    const QUrl url = m_handler->publish(pageBytes);
    connect(m_page.get(), &QWebEnginePage::loadingChanged, watch,
            [finish, url](const QWebEngineLoadingInfo& info) {
                if (info.url() != url) return;
                if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus)
                    finish(true);
                else if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus)
                    finish(false);
            });
    static_cast<PostPage*>(m_page.get())->onDocumentReady = [finish, url](const QUrl& ready) {
        if (ready == url) finish(true);
    };
    m_page->load(url);
}

void PreviewView::updatePage(const QByteArray& pageBytes, std::function<void(bool)> finish)
{
    // Served from now on under the page's address, should the user reload it.
    m_handler->replace(pageBytes);
    // Parsed as a whole page, as a load would parse it, and put in place of
    // the document's own tree: the engine keeps the document and lays out
    // the new tree without starting a navigation, which costs it several
    // times as much. The text is read back from the Big5 bytes so that it
    // shows exactly what a load would.
    const QString script =
        uR"((function (page) {
  const fresh = new DOMParser().parseFromString(page, 'text/html');
  document.replaceChild(document.adoptNode(fresh.documentElement), document.documentElement);
  return true;
})(%1))"_s.arg(ScriptStringLiteral(text::DecodeBig5(pageBytes)));
    m_page->runJavaScript(
        script, QWebEngineScript::ApplicationWorld,
        [finish = std::move(finish)](const QVariant& result) { finish(result.toBool()); });
}

void PreviewView::finishShow(quint64 show, bool shown)
{
    if (show != m_show || !m_showDone) return;
    const auto done = std::move(m_showDone);
    m_showDone = nullptr;
    done(shown);
}

void PreviewView::Release()
{
    finishShow(m_show, false);
    m_updatable = false;
    m_page->history()->clear();
    // Only a page out of sight can be dropped; shown again, the view loads
    // it anew.
    if (!m_page->isVisible()) m_page->setLifecycleState(QWebEnginePage::LifecycleState::Discarded);
}

void PreviewView::OnRendererEnded(std::function<void()> ended)
{
    m_rendererEnded = std::move(ended);
}

void PreviewView::ScrollToLine(int line, double fraction)
{
    // In the program's own script world, which runs while the page's own
    // scripts stay off.
    const QString script =
        uR"((function (line, fraction) {
  let mark = null, i = line;
  for (; i > 0 && !mark; --i) mark = document.getElementById('%1' + i);
  // Lines between marks taken as tall as the marked one.
  const box = mark ? mark.getBoundingClientRect() : null;
  const top = box ? box.top + window.scrollY + (line - i - 1) * box.height : 0;
  window.scrollTo(window.scrollX, Math.max(0, top - fraction * window.innerHeight));
})(%2, %3))"_s.arg(kLineAnchorPrefix)
            .arg(line)
            .arg(fraction);
    m_page->runJavaScript(script, QWebEngineScript::ApplicationWorld);
}

}  // namespace convert
