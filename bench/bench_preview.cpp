// Showing a 100 KB post in the preview, warm (the engine already started),
// beside a bare QWebEngineView given the same page with setContent() and
// timed to loadFinished, in the same process; and an update of the live
// preview beside the editing area, timed until it says the page is shown,
// beside a bare view of the same size loading that page (with its line marks).
#include <benchmark/benchmark.h>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QRegularExpression>
#include <QTabWidget>
#include <QWebEngineView>
#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "app/form1/form1.h"
#include "app/live_preview.h"
#include "app/memo_edit.h"
#include "convert/preview_module.h"
#include "convert/preview_page.h"
#include "convert/preview_view.h"
#include "generated_post.h"
#include "markup/editor_lines.h"
#include "platform/clock.h"
#include "platform/keyboard_state.h"
#include "platform/prompts.h"
#include "text/line_split.h"

namespace {

constexpr qsizetype kPostBytes = 100 * 1024;

// The generated post without its pictures: a bare view's loadFinished waits
// for every picture, the preview only for the document.
QString Post()
{
    static const QRegularExpression picture(QStringLiteral("\\[img\\][^[]*\\[/img\\]"));
    return bench::GeneratedPost(kPostBytes).remove(picture);
}

const QStringList& PageLines()
{
    static const QStringList lines = convert::BuildPreviewPageLines(text::SplitLines(Post()));
    return lines;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double MillisecondsOf(const std::function<void()>& action)
{
    QElapsedTimer timer;
    timer.start();
    action();
    return double(timer.nsecsElapsed()) / 1e6;
}

// The three take turns in every round, so that the machine's ups and downs
// fall on all of them alike; reported as medians and ratios.
void WarmPreviewOf100KB(benchmark::State& state)
{
    QWebEngineView bare;
    bare.resize(676, 400);
    bare.show();
    const QByteArray page = convert::PreviewPageBytes(PageLines());
    const auto bareLoad = [&] {
        QEventLoop loop;
        QObject::connect(&bare, &QWebEngineView::loadFinished, &loop, &QEventLoop::quit);
        bare.setContent(page, QStringLiteral("text/html"));
        loop.exec();
    };

    convert::PreviewView view;
    view.resize(676, 400);
    view.show();
    const auto viewLoad = [&] { view.LoadPageLines(PageLines()); };

    platform::QtPrompts prompts;
    const auto keyboard = platform::MakeKeyboardState();
    const auto clock = platform::MakeSystemClock();
    TForm1 form(prompts, *keyboard, *clock);
    form.show();
    form.Memo1->setPlainText(Post());
    const auto showTab = [&] { form.PageControl1->setCurrentWidget(form.TabSheet2); };
    const auto hideTab = [&] {
        form.PageControl1->setCurrentWidget(form.TabSheet1);
        QCoreApplication::processEvents();
    };

    // The live preview, its first page and the editing area's new width
    // settled before anything is timed.
    form.findChild<QAction*>(QStringLiteral("N57"))->trigger();
    auto* pane = form.findChild<QWebEngineView*>(QStringLiteral("EmbeddedWB2"));
    auto* live = form.findChild<LivePreview*>();
    const auto loadOf = [](QWebEngineView& target, const std::function<void()>& start) {
        QEventLoop loop;
        QObject::connect(&target, &QWebEngineView::loadFinished, &loop, &QEventLoop::quit);
        start();
        loop.exec();
    };
    // The pane's updates go into the page it shows, without a load.
    const auto liveLoad = [&] {
        QEventLoop loop;
        QObject::connect(live, &LivePreview::pageShown, &loop, &QEventLoop::quit);
        live->setActive(true);
        loop.exec();
    };
    liveLoad();
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 2000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    const QByteArray livePage = convert::PreviewPageBytes(
        convert::BuildPreviewPageLines(markup::DisplayedLines(*form.Memo1), 1));
    QWebEngineView bareLive;
    bareLive.resize(pane->size());
    bareLive.show();
    const auto bareLiveLoad = [&] {
        loadOf(bareLive, [&] { bareLive.setContent(livePage, QStringLiteral("text/html")); });
    };

    // The engine's first start is not what is measured.
    bareLoad();
    viewLoad();
    showTab();
    hideTab();
    bareLiveLoad();
    liveLoad();

    std::vector<double> bareTimes, viewTimes, tabTimes, lineTimes, bareLiveTimes, liveTimes;
    for (auto _ : state) {
        bareTimes.push_back(MillisecondsOf(bareLoad));
        viewTimes.push_back(MillisecondsOf(viewLoad));
        tabTimes.push_back(MillisecondsOf(showTab));
        lineTimes.push_back(MillisecondsOf([&] { markup::DisplayedLines(*form.Memo1); }));
        state.PauseTiming();
        hideTab();
        state.ResumeTiming();
        bareLiveTimes.push_back(MillisecondsOf(bareLiveLoad));
        liveTimes.push_back(MillisecondsOf(liveLoad));
    }
    const double bareMs = Median(bareTimes);
    state.counters["bare_setContent_ms"] = bareMs;
    state.counters["LoadPageLines_ms"] = Median(viewTimes);
    state.counters["preview_tab_ms"] = Median(tabTimes);
    // The part of the command that reads the editor's rows.
    state.counters["line_list_ms"] = Median(lineTimes);
    state.counters["LoadPageLines_ratio"] = Median(viewTimes) / bareMs;
    state.counters["preview_tab_ratio"] = Median(tabTimes) / bareMs;
    state.counters["bare_live_page_ms"] = Median(bareLiveTimes);
    state.counters["live_update_ms"] = Median(liveTimes);
    state.counters["live_update_ratio"] = Median(liveTimes) / Median(bareLiveTimes);
    form.Memo1->document()->setModified(false);
}
BENCHMARK(WarmPreviewOf100KB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(25);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication app(argc, argv);
    // As the preview would, before the bare view starts the engine.
    convert::PrepareBrowserEngine();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
