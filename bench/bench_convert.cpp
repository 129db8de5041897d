// The two whole-document conversions on generated posts of 1, 10 and 50 MB
// (as Big5). The one-pass conversion runs beside the step-by-step reference
// and beside a plain copy of the text, the least any conversion can cost; the
// tag check and the tag colouring of every paragraph run beside them.
#include <benchmark/benchmark.h>

#include <QString>
#include <map>

#include "convert/html_strip.h"
#include "convert/tag_check.h"
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

// The tag check of the whole document, beside the conversion above.
void CheckTags(benchmark::State& state)
{
    const QString& post = Post(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(convert::CheckTags(post));
    Report(state, post);
}

// The colouring of every paragraph, as if the whole document were shown.
void TagColours(benchmark::State& state)
{
    const QString& post = Post(state.range(0));
    for (auto _ : state) {
        for (qsizetype from = 0; from < post.size();) {
            qsizetype end = post.indexOf(u'\n', from);
            if (end < 0) end = post.size();
            benchmark::DoNotOptimize(
                convert::TagColours(QStringView(post).sliced(from, end - from)));
            from = end + 1;
        }
    }
    Report(state, post);
}

BENCHMARK(ConvertYbbToHtml)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(ConvertYbbToHtmlReference)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(CopyText)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(CheckTags)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(TagColours)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(StripHtmlTags)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);

}  // namespace
