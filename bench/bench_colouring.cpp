// Tag colouring on a large document: two editing areas offscreen in this one
// process, given the same text and the same actions in the same order, one
// with the tag colouring switched on, the other bare. For each action it
// prints how long the event loop was held: the action with the repaint that
// shows it, and the longest turn of the loop after it, for both, and their
// ratio.
//
//   bench_colouring [megabytes=10] [keystrokes=20]
#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <algorithm>
#include <cstdio>
#include <functional>

#include "convert/tag_check.h"
#include "generated_post.h"
#include "loop_hold.h"
#include "markup/highlight.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// The colouring as the window sets it up.
QList<QTextLayout::FormatRange> TagFormats(const QTextBlock& block)
{
    QList<QTextLayout::FormatRange> ranges;
    for (const convert::ColouredSpan& span : convert::TagColours(block.text())) {
        QTextCharFormat format;
        format.setForeground(QColor::fromRgb(
            span.colour == convert::TagColour::Name    ? markup::kTagNameColour
            : span.colour == convert::TagColour::Value ? markup::kTagValueColour
                                                       : markup::kUnpairedTagColour));
        ranges.append({span.start, span.length, format});
    }
    return ranges;
}

using bench::Held;

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const qsizetype megabytes = argc > 1 ? QByteArray(argv[1]).toLongLong() : 10;
    const int keystrokes = argc > 2 ? QByteArray(argv[2]).toInt() : 20;
    const QString text =
        bench::GeneratedPost(megabytes * bench::kMegabyte).replace(u"\r\n"_s, u"\n"_s);

    QPlainTextEdit coloured, bare;
    // The coloured one with the window's document, the bare one as Qt makes it.
    coloured.setDocument(markup::NewEditorDocument(&coloured));
    // The coloured one with the window's document, the bare one as Qt makes it.
    coloured.setDocument(markup::NewEditorDocument(&coloured));
    for (QPlainTextEdit* memo : {&coloured, &bare}) {
        memo->resize(900, 700);
        memo->show();
        if (!QTest::qWaitForWindowExposed(memo)) return 1;
        memo->setPlainText(text);
    }
    QCoreApplication::processEvents();

    std::printf("%lld MB, %d paragraphs\n", (long long)megabytes,
                coloured.document()->blockCount());
    std::printf("%-24s %9s %9s %7s\n", "held (ms)", "coloured", "bare", "ratio");
    double worst = 0;
    const auto row = [&](const char* what, const std::function<void(QPlainTextEdit&)>& action) {
        const double a = Held([&] { action(coloured); });
        const double b = Held([&] { action(bare); });
        worst = std::max(worst, a);
        std::printf("%-24s %9.2f %9.2f %6.2fx\n", what, a, b, a / std::max(b, 0.01));
    };

    // Switching on colours the screen; beside it, the bare editor repainting
    // its screen.
    const double on = Held([&] { markup::SetParagraphColouring(coloured, TagFormats); });
    const double repaint = Held([&] { bare.viewport()->update(); });
    worst = on;
    std::printf("%-24s %9.2f %9.2f %6.2fx\n", "switch colouring on", on, repaint,
                on / std::max(repaint, 0.01));

    for (int i = 0; i < 10; ++i) {
        row(i == 0 ? "page down (each)" : "",
            [](QPlainTextEdit& memo) { QTest::keyClick(&memo, Qt::Key_PageDown); });
    }
    row("scroll to the middle", [](QPlainTextEdit& memo) {
        memo.verticalScrollBar()->setValue(memo.verticalScrollBar()->maximum() / 2);
    });
    row("scroll to the end", [](QPlainTextEdit& memo) {
        memo.verticalScrollBar()->setValue(memo.verticalScrollBar()->maximum());
    });
    for (QPlainTextEdit* memo : {&coloured, &bare}) {
        QTextCursor cursor(memo->document());
        cursor.setPosition(memo->document()->characterCount() / 2);
        memo->setTextCursor(cursor);
        memo->centerCursor();
    }
    QCoreApplication::processEvents();
    std::vector<double> typedColoured, typedBare;
    for (int i = 0; i < keystrokes; ++i) {
        typedColoured.push_back(Held([&] { QTest::keyClicks(&coloured, u"["_s); }));
        typedBare.push_back(Held([&] { QTest::keyClicks(&bare, u"["_s); }));
    }
    std::sort(typedColoured.begin(), typedColoured.end());
    std::sort(typedBare.begin(), typedBare.end());
    std::printf(
        "%-24s %9.2f %9.2f %6.2fx\n", "keystroke (median)", typedColoured[typedColoured.size() / 2],
        typedBare[typedBare.size() / 2],
        typedColoured[typedColoured.size() / 2] / std::max(typedBare[typedBare.size() / 2], 0.01));
    std::printf("%-24s %9.2f %9.2f\n", "keystroke (slowest)", typedColoured.back(),
                typedBare.back());
    worst = std::max(worst, typedColoured.back());
    const double off = Held([&] { markup::SetParagraphColouring(coloured, {}); });
    worst = std::max(worst, off);
    std::printf("%-24s %9.2f\n", "switch colouring off", off);
    std::printf("longest hold with colouring: %.2f ms\n", worst);
    return 0;
}
