// Big5 decoding and encoding of generated posts of 1, 10 and 50 MB, each
// beside one pass that only widens or narrows the same bytes (Latin-1), the
// least a conversion between bytes and text can cost. And the UTF-8 check
// that tells a UTF-8 file from a Big5 one, beside a strict decode of the same
// bytes (what telling them apart would cost without the check).
#include <benchmark/benchmark.h>

#include <QStringDecoder>
#include <map>

#include "generated_post.h"
#include "text/big5_codec.h"
#include "text/utf8_validation.h"

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

const QByteArray& Utf8Post(qsizetype megabytes)
{
    static std::map<qsizetype, QByteArray> posts;
    QByteArray& post = posts[megabytes];
    if (post.isEmpty()) post = bench::GeneratedPost(megabytes * bench::kMegabyte).toUtf8();
    return post;
}

void ValidateUtf8(benchmark::State& state)
{
    const QByteArray& bytes = Utf8Post(state.range(0));
    for (auto _ : state) {
        const bool valid = text::IsValidUtf8(bytes);
        if (!valid) state.SkipWithError("the generated post is not valid UTF-8");
        benchmark::DoNotOptimize(valid);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void DecodeUtf8Strictly(benchmark::State& state)
{
    const QByteArray& bytes = Utf8Post(state.range(0));
    for (auto _ : state) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = decoder(bytes);
        if (decoder.hasError()) state.SkipWithError("the generated post is not valid UTF-8");
        benchmark::DoNotOptimize(text.constData());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

BENCHMARK(DecodeBig5)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(WidenLatin1)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(EncodeBig5)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(NarrowLatin1)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(ValidateUtf8)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeUtf8Strictly)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);

}  // namespace
