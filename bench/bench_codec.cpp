// Big5 decoding and encoding of generated posts of 1, 10 and 50 MB, each
// beside one pass that only widens or narrows the same bytes (Latin-1), the
// least a conversion between bytes and text can cost.
#include <benchmark/benchmark.h>

#include <map>

#include "generated_post.h"
#include "text/big5_codec.h"

namespace {

const QByteArray& Big5Post(qsizetype megabytes)
{
    static std::map<qsizetype, QByteArray> posts;
    QByteArray& post = posts[megabytes];
    if (post.isEmpty())
        post = text::EncodeBig5(bench::GeneratedPost(megabytes * bench::kMegabyte),
                                text::Unencodable::Fail)
                   .bytes;
    return post;
}

void DecodeBig5(benchmark::State& state)
{
    const QByteArray& bytes = Big5Post(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(text::DecodeBig5(bytes));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void EncodeBig5(benchmark::State& state)
{
    const QString post = text::DecodeBig5(Big5Post(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(text::EncodeBig5(post, text::Unencodable::Fail));
    state.SetBytesProcessed(state.iterations() * Big5Post(state.range(0)).size());
}

void WidenLatin1(benchmark::State& state)
{
    const QByteArray& bytes = Big5Post(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(QString::fromLatin1(bytes));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void NarrowLatin1(benchmark::State& state)
{
    const QString wide = QString::fromLatin1(Big5Post(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(wide.toLatin1());
    state.SetBytesProcessed(state.iterations() * wide.size());
}

BENCHMARK(DecodeBig5)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(WidenLatin1)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(EncodeBig5)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(NarrowLatin1)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);

}  // namespace
