// The post copied for other forums: a 100 KB post written in each form and
// as rich text, beside Qt's HTML import of the converter's page alone (what
// every form reads the post through), and the same on a 10 MB post for the
// Markdown form.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTextDocument>

#include "convert/post_export.h"
#include "convert/ybb_to_html.h"
#include "generated_post.h"

namespace {

const QString& Post(qsizetype kilobytes)
{
    static std::map<qsizetype, QString> posts;
    QString& post = posts[kilobytes];
    if (post.isEmpty()) post = bench::GeneratedPost(kilobytes * 1024);
    return post;
}

void ImportOnly(benchmark::State& state)
{
    const QString page = u"<div style=\"white-space: pre-wrap\">"_qs +
                         convert::ConvertYbbToHtml(Post(state.range(0))) + u"</div>"_qs;
    for (auto _ : state) {
        QTextDocument document;
        document.setHtml(page);
        benchmark::DoNotOptimize(document.blockCount());
    }
}
BENCHMARK(ImportOnly)->Arg(100)->Arg(10240)->Unit(benchmark::kMillisecond)->Iterations(3);

void Export(benchmark::State& state)
{
    const auto dialect = convert::Dialect(state.range(1));
    for (auto _ : state) benchmark::DoNotOptimize(convert::ExportPost(Post(state.range(0)), dialect));
}
BENCHMARK(Export)
    ->Args({100, int(convert::Dialect::BBCode)})
    ->Args({100, int(convert::Dialect::Discuz)})
    ->Args({100, int(convert::Dialect::Markdown)})
    ->Args({10240, int(convert::Dialect::Markdown)})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

void RichText(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(convert::RichTextOf(Post(state.range(0))));
}
BENCHMARK(RichText)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);  // the HTML import needs fonts
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
