// The editing area's row queries on a large post: the status bar asks for the
// caret's row after every caret move, printing and the preview read all rows.
#include <benchmark/benchmark.h>
#include <QApplication>
#include <QPlainTextEdit>

#include "markup/editor_lines.h"

namespace {

QString LargePost(int paragraphs)
{
    QString text;
    for (int i = 0; i < paragraphs; ++i)
        text += QStringLiteral(
                    "[b]第%1段[/b] 這是一段測試用的文字，some words to wrap the row "
                    "over the width of the editing area, and more words.\n")
                    .arg(i);
    return text;
}

struct Editor {
    QPlainTextEdit memo;
    explicit Editor(int paragraphs)
    {
        memo.resize(660, 400);
        memo.setPlainText(LargePost(paragraphs));
        memo.show();
    }
};

void BM_RowOfCaretAtTheEnd(benchmark::State& state)
{
    Editor editor(int(state.range(0)));
    const int end = editor.memo.document()->characterCount() - 1;
    markup::RowOfPosition(editor.memo, end);  // counts every row once
    for (auto _ : state) benchmark::DoNotOptimize(markup::RowOfPosition(editor.memo, end));
}
BENCHMARK(BM_RowOfCaretAtTheEnd)->Arg(1000)->Arg(20000)->Unit(benchmark::kMicrosecond);

void BM_DisplayedLines(benchmark::State& state)
{
    Editor editor(int(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(markup::DisplayedLines(editor.memo));
}
BENCHMARK(BM_DisplayedLines)->Arg(1000)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
