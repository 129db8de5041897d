// The preview view with the real browser engine.
#include "convert/preview_view.h"

#include <gtest/gtest.h>
#include <memory>

#include <QBuffer>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QImage>
#include <QTabWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <functional>
#include <optional>

#include "convert/preview_page.h"
#include "qstring_printer.h"
#include "text/big5_codec.h"

using namespace Qt::StringLiterals;
using convert::BuildPreviewPageLines;
using convert::PreviewPageBytes;
using convert::PreviewView;

namespace {

bool WaitFor(const std::function<bool()>& done, int timeoutMs = 8000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

// Asks the page from the application's own script world, which runs even
// though the page's scripts are off.
// An answer that never came in time is still delivered later (at the latest
// when the page goes), so it is kept where it outlives the question.
template <typename T>
struct Answer {
    T value{};
    bool answered = false;
};

QVariant Evaluate(PreviewView& view, const QString& script)
{
    const auto answer = std::make_shared<Answer<QVariant>>();
    view.page()->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                               [answer](const QVariant& value) {
                                   answer->value = value;
                                   answer->answered = true;
                               });
    EXPECT_TRUE(WaitFor([&] { return answer->answered; })) << script.toStdString();
    return answer->value;
}

// While the view navigates, a question may go unanswered; `mustAnswer`
// says whether that is a failure.
QString PlainText(PreviewView& view, bool mustAnswer = true)
{
    const auto answer = std::make_shared<Answer<QString>>();
    view.page()->toPlainText([answer](const QString& value) {
        answer->value = value;
        answer->answered = true;
    });
    const bool gotAnswer = WaitFor([&] { return answer->answered; }, mustAnswer ? 8000 : 500);
    EXPECT_TRUE(gotAnswer || !mustAnswer);
    return answer->value;
}

QByteArray PngOfSize(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

// A tiny HTTP server on 127.0.0.1 in the test's own event loop: serves a
// picture at /pic.png, a page at /page.htm, a page that asks to be loaded
// again every second at /refresh.htm, and records every path asked for.
class PictureServer {
public:
    PictureServer() : m_png(PngOfSize(3, 2))
    {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] { accept(); });
    }
    QString url(const QString& path) const
    {
        return u"http://127.0.0.1:%1%2"_s.arg(m_server.serverPort()).arg(path);
    }
    const QStringList& requested() const { return m_requested; }

private:
    void accept()
    {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QTcpSocket::readyRead, socket,
                             [this, socket] { answer(socket); });
        }
    }
    void answer(QTcpSocket* socket)
    {
        QByteArray request = socket->property("request").toByteArray() + socket->readAll();
        socket->setProperty("request", request);
        if (!request.contains("\r\n\r\n")) return;
        const QString path = QString::fromLatin1(request.split(' ').value(1));
        m_requested.append(path);
        QByteArray status = "200 OK", type = "image/png", body = m_png;
        QByteArray extraHeaders;
        if (path == u"/moved") {
            status = "302 Found";
            type = "text/plain";
            body = "moved";
            extraHeaders = "Location: /page.htm\r\n";
        } else if (path == u"/refresh.htm") {
            type = "text/html";
            body = "<meta http-equiv=\"refresh\" content=\"1\"><p>refreshing</p>";
        } else if (path == u"/page.htm") {
            type = "text/html";
            body = "<p>linked page</p>";
        } else if (path != u"/pic.png") {
            status = "404 Not Found";
            type = "text/plain";
            body = "not here";
        }
        socket->write("HTTP/1.1 " + status + "\r\nContent-Type: " + type + "\r\n" + extraHeaders +
                      "Content-Length: " + QByteArray::number(body.size()) +
                      "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QByteArray m_png;
    QStringList m_requested;
};

class PreviewViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_view.resize(640, 480);
        m_view.show();
    }
    int load(const QStringList& documentLines)
    {
        return m_view.LoadPageLines(BuildPreviewPageLines(documentLines));
    }
    // A user's click in the middle of the element with this id.
    void ClickElement(const QString& id)
    {
        const QVariantList box =
            Evaluate(m_view,
                     u"(r => [r.left + r.width / 2, r.top + r.height / 2])"
                     u"(document.getElementById('%1').getBoundingClientRect())"_s.arg(id))
                .toList();
        ASSERT_EQ(box.size(), 2);
        const QPoint centre(box[0].toInt(), box[1].toInt());
        QWidget* const surface = m_view.focusProxy();
        ASSERT_NE(surface, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_view));
        QTest::mouseMove(surface, centre);
        QTest::mousePress(surface, Qt::LeftButton, {}, centre, 50);
        QTest::mouseRelease(surface, Qt::LeftButton, {}, centre, 50);
    }
    int naturalWidth(const QString& id)
    {
        return Evaluate(m_view, u"document.getElementById('%1').naturalWidth"_s.arg(id)).toInt();
    }

    PreviewView m_view;
};

TEST(PreviewPageBytes, EmptyDocumentAndOneLine)
{
    const QByteArray head =
        "<HTML><head><meta http-equiv=\"Content-Language\" content=\"zh-tw\">"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=big5\"></head>"
        "<body leftmargin=\"2\" topmargin=\"5\"><Pre>";
    ASSERT_EQ(head.size(), 177);
    EXPECT_EQ(PreviewPageBytes(BuildPreviewPageLines({})), head + "</Pre></body></HTML>\r\n");
    EXPECT_EQ(PreviewPageBytes(BuildPreviewPageLines({u"abc"_s})),
              head + "abc\r\n</Pre></body></HTML>\r\n");
}

TEST(PreviewPageBytes, Big5WithReferencesForWhatItCannotHold)
{
    // 也 is A4 5D in Big5; an emoji and a simplified-only character have no
    // Big5 code and go over as character references.
    EXPECT_EQ(PreviewPageBytes({QString::fromUtf8("他也 😀这")}),
              QByteArray("\xA5\x4C\xA4\x5D &#128512;&#36825;\r\n"));
}

// Private-use characters are text; the kept bytes of a Big5 file show as
// U+FFFD. Neither reaches the page as a byte of its own ("<", or A4 5D).
TEST(PreviewPageBytes, NoCharacterBecomesAByteOfMarkup)
{
    const QString kept = text::DecodeBig5("\xA4");
    const QString line = u"a\U000F003Cb\U000F00A4\U000F005D"_s + kept + u"c"_s;
    EXPECT_EQ(PreviewPageBytes({line}), "a&#983100;b&#983204;&#983133;&#65533;c\r\n");
}

TEST_F(PreviewViewTest, ShowsABig5PostWithItsCharacters)
{
    ASSERT_EQ(
        load({QString::fromUtf8("他也 來，久/ [b]粗體[/b]"), QString::fromUtf8("表情 😀 简体这")}),
        PreviewView::Loaded);
    EXPECT_EQ(PlainText(m_view), QString::fromUtf8("他也 來，久/ 粗體\n表情 😀 简体这\n"));
    EXPECT_EQ(Evaluate(m_view, u"document.characterSet"_s).toString().toLower(), u"big5"_s);
}

TEST(PreviewView, LoadsWhileNotShown)
{
    PreviewView view;
    ASSERT_EQ(view.LoadPageLines(BuildPreviewPageLines({u"hidden"_s})), PreviewView::Loaded);
    EXPECT_EQ(PlainText(view), u"hidden\n"_s);
}

TEST_F(PreviewViewTest, LaterPageReplacesTheEarlierOne)
{
    ASSERT_EQ(load({u"first page"_s}), PreviewView::Loaded);
    EXPECT_EQ(PlainText(m_view), u"first page\n"_s);
    ASSERT_EQ(load({u"second page"_s}), PreviewView::Loaded);
    EXPECT_EQ(PlainText(m_view), u"second page\n"_s);
}

TEST_F(PreviewViewTest, FetchesPicturesFromTheWebButNotLocalFiles)
{
    PictureServer server;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString localPicture = dir.filePath(u"local.png"_s);
    {
        QImage image(5, 4, QImage::Format_RGB32);
        image.fill(Qt::blue);
        ASSERT_TRUE(image.save(localPicture, "PNG"));
    }
    ASSERT_EQ(load({u"[img]"_s + server.url(u"/pic.png"_s) + u"\" id=\"web[/img]"_s,
                    u"<img id=\"local\" src=\"file://"_s + localPicture + u"\">"_s}),
              PreviewView::Loaded);
    EXPECT_TRUE(WaitFor([&] { return naturalWidth(u"web"_s) == 3; }));
    EXPECT_EQ(server.requested(), QStringList{u"/pic.png"_s});
    EXPECT_EQ(Evaluate(m_view, u"document.getElementById('local').complete"_s).toBool(), true);
    EXPECT_EQ(naturalWidth(u"local"_s), 0);
}

TEST_F(PreviewViewTest, ScriptsInThePostDoNotRun)
{
    PictureServer server;
    const QString beacon = server.url(u"/ran"_s);
    ASSERT_EQ(load({u"<script>document.body.setAttribute('data-ran', '1');"_s,
                    u"new Image().src = '"_s + beacon + u"';</script>"_s,
                    u"<img id=\"web\" src=\""_s + server.url(u"/pic.png"_s) +
                        u"\" onload=\"new Image().src = '"_s + beacon + u"'\">"_s}),
              PreviewView::Loaded);
    ASSERT_TRUE(WaitFor([&] { return naturalWidth(u"web"_s) == 3; }));
    EXPECT_FALSE(Evaluate(m_view, u"document.body.hasAttribute('data-ran')"_s).toBool());
    EXPECT_EQ(server.requested(), QStringList{u"/pic.png"_s});
}

// A page shown without waiting, while the view shows the last such page,
// goes into that page's document: the same tree as a load of it makes,
// whatever the post holds, and still none of its scripts run.
TEST_F(PreviewViewTest, PageShownInPlaceIsThePageALoadMakes)
{
    PictureServer server;
    const QString beacon = server.url(u"/ran"_s);
    const QStringList posts[] = {
        {u"[b]粗體[/b] 他也 😀 简体这"_s, u"\"quotes\" \\ back\\slash \u2028 sep\u2029"_s},
        {u"</Pre></body> after <body bgcolor=\"red\" data-x=1> <html lang=\"en\"> [hr]"_s},
        {u"<script>document.body.setAttribute('data-ran', '1')</script>"_s,
         u"<img src=\"x:\" onerror=\"new Image().src = '"_s + beacon + u"'\">"_s},
        {u"<style>b { color: red }</style><title>t</title>[url=\"http://a.example/\"]a"_s,
         u"[/url] <!-- open comment"_s},
        {},
        {u"\t tabs \r and controls \x01"_s, QChar(0xD800) + u"lone half"_s},
    };
    const auto show = [&](const QStringList& page) {
        std::optional<bool> arrived;
        m_view.ShowPage(PreviewPageBytes(page), [&](bool ok) { arrived = ok; });
        return WaitFor([&] { return arrived.has_value(); }) && *arrived;
    };
    const QString tree = u"document.documentElement.outerHTML"_s;
    for (const QStringList& post : posts) {
        const QStringList page = BuildPreviewPageLines(post, 1);
        ASSERT_EQ(m_view.LoadPageLines(page), PreviewView::Loaded);
        const QString loaded = Evaluate(m_view, tree).toString();
        ASSERT_TRUE(show(BuildPreviewPageLines({u"before"_s}, 1)));
        const QUrl shown = m_view.url();
        ASSERT_TRUE(show(page));
        EXPECT_EQ(m_view.url(), shown);  // no load
        EXPECT_EQ(Evaluate(m_view, tree).toString(), loaded) << post.join(u'|').toStdString();
    }
    QTest::qWait(500);
    EXPECT_FALSE(server.requested().contains(u"/ran"_s));
}

// Both a plain link and one asking for a new window open inside the view.
TEST_F(PreviewViewTest, LinksNavigateInsideTheView)
{
    PictureServer server;
    for (const QString& target : {QString(), u" target=\"_blank\""_s}) {
        ASSERT_EQ(load({u"<a id=\"link\" href=\""_s + server.url(u"/page.htm"_s) + u"\""_s +
                        target + u" style=\"font-size:40px\">follow me</a>"_s}),
                  PreviewView::Loaded);
        ASSERT_NO_FATAL_FAILURE(ClickElement(u"link"_s));
        EXPECT_TRUE(WaitFor([&] { return PlainText(m_view, false).trimmed() == u"linked page"_s; }))
            << target.toStdString();
        EXPECT_EQ(m_view.url().toString(), server.url(u"/page.htm"_s));
    }
}

// The preview is there once the document is parsed, even while a picture's
// server keeps it waiting (the load itself would not finish before the
// server gives up).
TEST_F(PreviewViewTest, ShownBeforeASlowPictureArrives)
{
    QTcpServer silent;  // takes the connection and never answers
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    const QString picture = u"http://127.0.0.1:%1/slow.png"_s.arg(silent.serverPort());
    ASSERT_EQ(load({u"before [img]"_s + picture + u"[/img] after"_s}), PreviewView::Loaded);
    EXPECT_EQ(Evaluate(m_view, u"document.body.textContent"_s).toString().trimmed(),
              u"before  after"_s);
}

// A post cannot move the view by itself: neither a refresh nor a form, even
// one the user sends, takes it away from the post. A clicked link that the
// server sends on elsewhere still arrives.
TEST_F(PreviewViewTest, NavigatesOnlyWhereTheUserClicks)
{
    PictureServer server;
    const QString page = server.url(u"/page.htm"_s);
    const QString attempts[] = {
        u"<meta http-equiv=\"refresh\" content=\"0; url="_s + page + u"\">refreshing"_s,
        u"<form action=\""_s + page + u"\"><button id=\"go\" style=\"font-size:40px\">"_s +
            u"send</button></form>"_s,
    };
    for (const QString& attempt : attempts) {
        ASSERT_EQ(load({attempt}), PreviewView::Loaded);
        const QUrl shown = m_view.url();
        if (attempt.contains(u"id=\"go\""_s)) {
            ASSERT_NO_FATAL_FAILURE(ClickElement(u"go"_s));
        }
        QTest::qWait(1500);
        EXPECT_EQ(server.requested().count(u"/page.htm"_s), 0) << attempt.toStdString();
        EXPECT_EQ(m_view.url().toString(), shown.toString()) << attempt.toStdString();
        EXPECT_NE(PlainText(m_view).trimmed(), u"linked page"_s);
    }

    ASSERT_EQ(load({u"<a id=\"link\" href=\""_s + server.url(u"/moved"_s) +
                    u"\" style=\"font-size:40px\">follow me</a>"_s}),
              PreviewView::Loaded);
    ASSERT_NO_FATAL_FAILURE(ClickElement(u"link"_s));
    EXPECT_TRUE(WaitFor([&] { return PlainText(m_view, false).trimmed() == u"linked page"_s; }));
    EXPECT_EQ(m_view.url().toString(), page);
}

// A frame in the post loads once, as a picture does, following its server's
// redirect, and then stays still however often its page asks to be loaded
// again. Behind the other tab the page is frozen; it comes back as it was.
TEST(PreviewFrames, LoadOnceStayStillAndFreezeBehindTheOtherTab)
{
    PictureServer server;
    QTabWidget tabs;
    tabs.addTab(new QWidget, u"source"_s);
    auto* const view = new PreviewView;
    tabs.addTab(view, u"preview"_s);
    tabs.resize(640, 480);
    tabs.setCurrentWidget(view);
    tabs.show();
    ASSERT_EQ(view->LoadPageLines(BuildPreviewPageLines(
                  {u"<iframe src=\""_s + server.url(u"/refresh.htm"_s) + u"\"></iframe>"_s,
                   u"<iframe src=\""_s + server.url(u"/moved"_s) + u"\"></iframe> end"_s})),
              PreviewView::Loaded);
    EXPECT_TRUE(WaitFor([&] { return server.requested().contains(u"/page.htm"_s); }));
    QTest::qWait(3500);
    EXPECT_EQ(server.requested().count(u"/refresh.htm"_s), 1)
        << server.requested().join(u' ').toStdString();
    EXPECT_EQ(server.requested().count(u"/page.htm"_s), 1);

    const QUrl shown = view->url();
    const QString text = PlainText(*view);
    EXPECT_TRUE(text.contains(u"refreshing"_s) && text.contains(u"linked page"_s))
        << text.toStdString();
    tabs.setCurrentIndex(0);
    EXPECT_EQ(view->page()->lifecycleState(), QWebEnginePage::LifecycleState::Frozen);
    tabs.setCurrentWidget(view);
    EXPECT_EQ(view->page()->lifecycleState(), QWebEnginePage::LifecycleState::Active);
    EXPECT_EQ(view->url(), shown);
    EXPECT_EQ(PlainText(*view), text);
}

TEST_F(PreviewViewTest, PostsOfSeveralMegabytesStillPreview)
{
    // About 3 MB of Big5, more than inline page content may hold.
    const QString line =
        QString::fromUtf8("繁體中文的長文章，").repeated(20) + QString::fromUtf8("[b]粗[/b] ");
    QStringList lines(9000, line);
    lines.append(u"the end"_s);
    ASSERT_GT(PreviewPageBytes(BuildPreviewPageLines(lines)).size(), 3'000'000);
    // Parsing this much may outlast the view's bounded wait on a busy
    // machine; what matters is that the whole page arrives.
    const int status = load(lines);
    EXPECT_TRUE(status == PreviewView::Loaded || status == PreviewView::TimedOut) << status;
    QString text;
    EXPECT_TRUE(WaitFor(
        [&] {
            text = PlainText(m_view, false);
            return text.endsWith(u"the end\n"_s);
        },
        30000));
    EXPECT_EQ(text.count(u'\n'), lines.size());
}

// The marks of the lines, for the pane beside the editing area, change
// nothing the browser shows: the same tree once they are taken out, the same
// pixels. They sit only where the browser takes them as elements of their
// own (none inside a tag, comment, raw text or table; one after the last
// line too). The page given without waiting arrives like the waited-for one.
TEST_F(PreviewViewTest, LineMarksChangeNothingShown)
{
    const struct {
        QStringList post;
        QList<int> marked;
    } cases[] = {
        {{u"[b]bold"_s, u"still[/b]"_s, u"[list]"_s, u"[*]one"_s, u"[*]two[/*]"_s, u"[/list]"_s},
         {1, 2, 3, 4, 5, 6}},
        {{u""_s, u"[code]"_s, u"x"_s, u"[/code]"_s, u"[quote]"_s, u"q[/quote]"_s},
         {1, 2, 3, 4, 5, 6}},
        {{u"[url=\"http://a.example/"_s, u"b\"]link[/url] <img alt=\"x"_s, u"y\">"_s, u"z"_s},
         {3, 4}},
        {{u"<!-- a"_s, u"b --> <style>"_s, u"b {}"_s, u"</style><textarea>"_s, u"t"_s,
          u"</textarea> <"_s, u"c"_s},
         {6, 7}},
        {{u"<table><colgroup span=\"2\" style=\"background:red\">"_s, u"<col><col>"_s,
          u"<tr><td>a"_s, u"b</td></tr></table>"_s, u"w"_s},
         {4, 5}},
        {{u"[center]"_s, u"c"_s, u"[/center][right]"_s, u"r[/right] <select>"_s, u"<option>a"_s,
          u"</select> [red] s[/red] "_s, u"<ul>"_s, u"<li>i"_s, u"</ul>"_s},
         {1, 2, 3, 6, 7, 8, 9}},
    };
    // The view's picture once the engine has drawn the page: the same four
    // times running, and blank only for the empty page shown in between, so
    // that neither a page not drawn yet nor the one before counts.
    const auto drawn = [&](bool blank) {
        QImage last, now;
        for (int i = 0, same = 0; i < 100 && same < 3; ++i) {
            QTest::qWait(100);
            last = now;
            now = m_view.grab().toImage();
            QImage uniform(now.size(), now.format());
            uniform.fill(now.isNull() ? 0 : now.pixel(0, 0));
            same = !now.isNull() && now == last && (now == uniform) == blank ? same + 1 : 0;
        }
        return now;
    };
    const QString withoutMarks =
        u"(() => { const body = document.body.cloneNode(true);"
        u" body.querySelectorAll('qp-l').forEach(e => e.remove()); return body.outerHTML; })()"_s;
    for (const auto& c : cases) {
        const QString post = c.post.join(u'|');
        ASSERT_EQ(load({}), PreviewView::Loaded);
        drawn(true);
        ASSERT_EQ(load(c.post), PreviewView::Loaded);
        const QImage plain = drawn(false);
        const QString tree = Evaluate(m_view, u"document.body.outerHTML"_s).toString();

        ASSERT_EQ(load({}), PreviewView::Loaded);
        drawn(true);
        bool arrived = false;
        m_view.ShowPage(PreviewPageBytes(BuildPreviewPageLines(c.post, 1)),
                        [&](bool ok) { arrived = ok; });
        ASSERT_TRUE(WaitFor([&] { return arrived; })) << post.toStdString();
        QList<int> marked;
        for (const QVariant& id :
             Evaluate(m_view, u"Array.from(document.querySelectorAll('qp-l'), e => e.id)"_s)
                 .toList())
            marked.append(id.toString().sliced(3).toInt());
        EXPECT_EQ(marked, c.marked) << post.toStdString();
        EXPECT_EQ(Evaluate(m_view, withoutMarks).toString(), tree) << post.toStdString();
        // The same picture, once the engine has drawn all of it. On a busy
        // machine the first picture may have been taken before the engine
        // finished drawing; the page without marks is then drawn again.
        const QImage marks = QTest::qWaitFor([&] { return m_view.grab().toImage() == plain; }, 5000)
                                 ? plain
                                 : drawn(false);
        QImage again = plain;
        if (marks != plain) {
            ASSERT_EQ(load(c.post), PreviewView::Loaded);
            again = drawn(false);
        }
        EXPECT_EQ(marks, again) << post.toStdString();
    }
}

}  // namespace
