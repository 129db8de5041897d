// Decoding and encoding a 5 MB Big5 document, the size of a long thread
// saved for editing.
#include <benchmark/benchmark.h>

#include "text/big5_codec.h"
#include "text/document_file.h"

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr qsizetype kDocumentBytes = 5 * 1024 * 1024;

const QByteArray& Big5Document()
{
    static const QByteArray document = [] {
        const QByteArray line =
            text::EncodeBig5(u"【中 文 化】[b]繁體中文[/b]的測試文字，含 ASCII 與符號※★。\r\n"_s,
                             text::Unencodable::Fail)
                .bytes;
        QByteArray bytes;
        while (bytes.size() < kDocumentBytes) bytes += line;
        return bytes;
    }();
    return document;
}

void DecodeBig5Document(benchmark::State& state)
{
    const QByteArray& bytes = Big5Document();
    for (auto _ : state) benchmark::DoNotOptimize(text::DecodeBig5(bytes));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(DecodeBig5Document)->Unit(benchmark::kMillisecond);

void EncodeBig5Document(benchmark::State& state)
{
    const QString document = text::DecodeBig5(Big5Document());
    for (auto _ : state)
        benchmark::DoNotOptimize(text::EncodeBig5(document, text::Unencodable::Fail));
    state.SetBytesProcessed(state.iterations() * Big5Document().size());
}
BENCHMARK(EncodeBig5Document)->Unit(benchmark::kMillisecond);

// The whole file path short of the disk: detection, line breaks and the codec.
void DecodeDocumentFile(benchmark::State& state)
{
    const QByteArray& bytes = Big5Document();
    for (auto _ : state) benchmark::DoNotOptimize(text::DecodeDocument(bytes));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(DecodeDocumentFile)->Unit(benchmark::kMillisecond);

void EncodeDocumentFile(benchmark::State& state)
{
    const QString document = text::DecodeDocument(Big5Document()).text;
    for (auto _ : state) {
        QString error;
        benchmark::DoNotOptimize(text::EncodeDocument(document, text::FileEncoding::Big5, &error));
    }
    state.SetBytesProcessed(state.iterations() * Big5Document().size());
}
BENCHMARK(EncodeDocumentFile)->Unit(benchmark::kMillisecond);

}  // namespace
