// The two whole-document conversions on generated posts of 1, 10 and 50 MB
// (as Big5). The one-pass conversion runs beside the step-by-step reference
// and beside a plain copy of the text, the least any conversion can cost; the
// tag check and the tag colouring of every paragraph run beside them, and the
// tag check again on posts made to be its worst cases.
#include <benchmark/benchmark.h>

#include <QString>
#include <functional>
#include <map>

#include "convert/html_strip.h"
#include "convert/tag_check.h"
#include "convert/ybb_to_html.h"
#include "generated_post.h"

using namespace Qt::StringLiterals;

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

// Posts of 10 MB (as Big5; all ASCII) made to cost the tag check the most:
// everything it keeps per tag, every search it makes along a line, every
// problem it describes.
QString Repeated(const QString& unit)
{
    return unit.repeated((10 * bench::kMegabyte + unit.size() - 1) / unit.size());
}

// `before`, then `fill` up to 10 MB, then `after`.
QString Around(const QString& before, QChar fill, const QString& after)
{
    return before + QString(10 * bench::kMegabyte - before.size() - after.size(), fill) + after;
}

QString Halves(const QString& first, const QString& second)
{
    const qsizetype each = 10 * bench::kMegabyte / (first.size() + second.size());
    return first.repeated(each) + second.repeated(each);
}

const struct CraftedPost {
    const char* name;
    std::function<QString()> make;
} kCraftedPosts[] = {
    {"openers", [] { return Repeated(u"[b]"_s); }},
    {"nested and closed", [] { return Halves(u"[b]"_s, u"[/b]"_s); }},
    {"stray closers", [] { return Repeated(u"[/b]"_s); }},
    {"brackets", [] { return Repeated(u"["_s); }},
    {"brackets closed at the end", [] { return Around({}, u'[', u"]"_s); }},
    {"brackets on lines", [] { return Repeated(u"[\n"_s); }},
    {"stray colour openers", [] { return Repeated(u" ["_s); }},
    {"stray colour closers", [] { return Repeated(u"[/"_s); }},
    {"colour openers", [] { return Repeated(u" [x] "_s); }},
    {"colour closers", [] { return Repeated(u"[/x] "_s); }},
    {"colour tags unspaced", [] { return Repeated(u"[x]"_s); }},
    {"colour tags nested and closed", [] { return Halves(u" [x] "_s, u"[/x] "_s); }},
    {"crossed", [] { return Repeated(u"[b][i][/b]"_s); }},
    {"crossed under a huge tag",
     [] {
         return u"[b] ["_s + QString(5 * bench::kMegabyte, u'a') + u"] "_s +
                u"[/b][b]"_s.repeated(5 * bench::kMegabyte / 7);
     }},
    {"crossed kinds", [] { return Repeated(u"[b] [x] [font=a] [/b][/x] [/font=a] "_s); }},
    {"every kind open",
     [] {
         return Repeated(
             u"[b][i][u][s][left][center][right][code][quote][list][*]"
             u"[url=\"a\"][img] [x] [font=a] [size=1] "_s);
     }},
    {"face openers unended", [] { return Repeated(u"[font="_s); }},
    {"face openers ended at the end", [] { return Repeated(u"[font="_s) + u"] "_s; }},
    {"link openers unended", [] { return Repeated(u"[url=\""_s); }},
    {"link openers ended at the end", [] { return Repeated(u"[url=\""_s) + u"\"]"_s; }},
    {"face unspaced", [] { return Repeated(u"[font=a]"_s); }},
    {"huge link", [] { return Around(u"[url=\""_s, u'a', u"\"]"_s); }},
    {"huge face unspaced", [] { return Around(u"[font="_s, u'a', u"]x"_s); }},
    {"huge colour", [] { return Around(u" ["_s, u'a', u"] "_s); }},
    {"huge colour closer unspaced", [] { return Around(u"[/"_s, u'a', u"]x"_s); }},
    {"long colours unspaced", [] { return Repeated(u"["_s + QString(9000, u'a') + u"]x"_s); }},
    {"text in brackets", [] { return Repeated(u"a[1]b"_s); }},
    {"near names", [] { return Repeated(u"[centre][quot][/lis][fonts=][url=a]"_s); }},
};

// The plain post's check is the baseline these stand beside.
void CheckCraftedPost(benchmark::State& state, const CraftedPost& crafted)
{
    const QString post = crafted.make();
    for (auto _ : state) benchmark::DoNotOptimize(convert::CheckTags(post));
    Report(state, post);
}

const bool kCraftedRegistered = [] {
    for (const CraftedPost& crafted : kCraftedPosts) {
        const std::string name = std::string("CheckTagsCrafted/") + crafted.name;
        benchmark::RegisterBenchmark(name.c_str(), [&crafted](benchmark::State& state) {
            CheckCraftedPost(state, crafted);
        })->Unit(benchmark::kMillisecond);
    }
    return true;
}();

BENCHMARK(ConvertYbbToHtml)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(ConvertYbbToHtmlReference)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(CopyText)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(CheckTags)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(TagColours)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(StripHtmlTags)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);

}  // namespace
