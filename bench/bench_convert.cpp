// The two whole-document conversions on a post of about 1 MB.
#include <benchmark/benchmark.h>

#include <QString>

#include "convert/html_strip.h"
#include "convert/ybb_to_html.h"

namespace {

// A mixture like real posts: CJK text, toolbar tags, font-bar tags, links.
QString MegabytePost()
{
    const QString paragraph = QString::fromUtf8(
        "[b]公告[/b] [red] 重要[/red] "
        "請大家注意，他也來了。[url=\"http://example.com/\"]連結[/url]\r\n"
        "[font=Arial] Hi[/font=Arial] [size=4] big[/size=4] [quote]引用的文字[/quote]\r\n"
        "[list][*]一[/*][*]二[/*][/list] [img]http://example.com/a.png[/img] 普通的一行字。\r\n");
    QString post;
    while (post.size() < 512 * 1024) post += paragraph;  // 512 Ki UTF-16 units, ~1 MB
    return post;
}

void BM_ConvertYbbToHtml(benchmark::State& state)
{
    const QString post = MegabytePost();
    for (auto _ : state) benchmark::DoNotOptimize(convert::ConvertYbbToHtml(post));
    state.SetBytesProcessed(state.iterations() * post.size() * qsizetype(sizeof(QChar)));
}
BENCHMARK(BM_ConvertYbbToHtml)->Unit(benchmark::kMillisecond);

void BM_StripHtmlTags(benchmark::State& state)
{
    const QString html = convert::ConvertYbbToHtml(MegabytePost());
    for (auto _ : state) benchmark::DoNotOptimize(convert::StripHtmlTags(html));
    state.SetBytesProcessed(state.iterations() * html.size() * qsizetype(sizeof(QChar)));
}
BENCHMARK(BM_StripHtmlTags)->Unit(benchmark::kMillisecond);

}  // namespace
