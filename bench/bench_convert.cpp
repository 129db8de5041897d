// The two whole-document conversions on generated posts of 1, 10 and 50 MB
// (as Big5). The one-pass conversion runs beside the step-by-step reference
// and beside a plain copy of the text, the least any conversion can cost.
#include <benchmark/benchmark.h>

#include <QString>
#include <map>

#include "convert/html_strip.h"
#include "convert/ybb_to_html.h"
#include "generated_post.h"

namespace {

const QString& Post(qsizetype megabytes)
{
    static std::map<qsizetype, QString> posts;
    QString& post = posts[megabytes];
    if (post.isEmpty()) post = bench::GeneratedPost(megabytes * bench::kMegabyte);
    return post;
}

void Report(benchmark::State& state, const QString& input)
{
    state.SetBytesProcessed(state.iterations() * input.size() * qsizetype(sizeof(QChar)));
}

void ConvertYbbToHtml(benchmark::State& state)
{
    const QString& post = Post(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(convert::ConvertYbbToHtml(post));
    Report(state, post);
}

void ConvertYbbToHtmlReference(benchmark::State& state)
{
    const QString& post = Post(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(convert::ConvertYbbToHtmlReference(post));
    Report(state, post);
}

// One pass that only copies the text into a fresh string.
void CopyText(benchmark::State& state)
{
    const QString& post = Post(state.range(0));
    for (auto _ : state) {
        QString copy(post.constData(), post.size());
        benchmark::DoNotOptimize(copy);
    }
    Report(state, post);
}

void StripHtmlTags(benchmark::State& state)
{
    const QString html = convert::ConvertYbbToHtml(Post(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(convert::StripHtmlTags(html));
    Report(state, html);
}

BENCHMARK(ConvertYbbToHtml)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(ConvertYbbToHtmlReference)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(CopyText)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(StripHtmlTags)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);

}  // namespace
