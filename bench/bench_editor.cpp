// The editor on a large document: the real main window and a bare
// QPlainTextEdit, both offscreen in this one process, given the same Big5
// file and the same actions in the same order. For each action it prints how
// long the event loop was held: the action itself with the repaint that shows
// it ("window", against "plain" for the bare editor, and their ratio), the
// longest single turn of the loop after it until the window has settled
// ("longest"; the status bar showing the caret's new row) with the processor
// time that turn used ("cpu"; on a busy machine a turn also waits), the larger
// of action and longest turn ("blocked") and the time until settled. Then
// keystrokes far enough apart for the live preview to follow each, with the
// live preview and the tag colours off and on.
//
//   bench_editor [megabytes=10] [keystrokes=20]    (megabytes may be a fraction: 0.1)
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QThread>
#include <QWebEngineView>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <random>

#include "app/find_dialog.h"
#include "app/form1/form1.h"
#include "app/live_preview.h"
#include "app/memo_edit.h"
#include "fakes/scripted_prompts.h"
#include "markup/editor_lines.h"
#include "text/big5_codec.h"
#include "text/document_file.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// A long saved thread: posts of markup and Chinese text, short lines and
// paragraphs long enough to wrap several times, blank lines between posts.
QByteArray Big5Thread(qsizetype bytes)
{
    const QString words =
        u"這是一段測試用的繁體中文文字，論壇文章的內容常常很長。今天天氣很好我們去公園散步"
        u"看見許多人在運動也有小朋友在玩耍※★【公告】請大家遵守版規謝謝合作"_s;
    const QStringList tags = {
        u"[b]"_s,      u"[/b]"_s,      u"[i]"_s,    u"[/i]"_s,
        u"[center]"_s, u"[/center]"_s, u"[hr]"_s,   u"[url=\"http://example.com/\"]"_s,
        u"[/url]"_s,   u" [red] "_s,   u"[/red] "_s};
    std::mt19937 random(11);
    QString text;
    QByteArray encoded;
    while (encoded.size() < bytes) {
        text.clear();
        for (int line = 0; line < 200; ++line) {
            const int kind = int(random() % 10);
            const int length = kind < 5   ? 10 + int(random() % 60)   // a short line
                               : kind < 9 ? 80 + int(random() % 400)  // a wrapped paragraph
                                          : 0;                        // a blank line
            for (int i = 0; i < length; ++i) {
                const int pick = int(random() % 40);
                if (pick == 0)
                    text += tags[int(random() % tags.size())];
                else if (pick < 6)
                    text += u"word "_s;
                else
                    text += words[int(random() % words.size())];
            }
            text += u"\r\n"_s;
        }
        encoded += text::EncodeBig5(text, text::Unencodable::Fail).bytes;
    }
    encoded.truncate(encoded.lastIndexOf("\r\n") + 2);
    return encoded;
}

struct Timing {
    double action = 0;      // ms: the action and the repaint that shows it
    double actionCpu = 0;   // ms: the processor time the action used
    double longest = 0;     // ms: the longest turn of the event loop after it
    double longestCpu = 0;  // ms: the most processor time one turn took
    double settled = 0;     // ms: until the window had settled
    double blocked() const { return std::max(action, longest); }
};

// On a shared machine a turn may wait for the processor; what it used of it
// tells the work from the wait.
double ThreadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Runs the action and repaints what it changed, then turns the event loop until
// settled() holds (or 20 s pass), timing every turn.
Timing Measure(const std::function<void()>& action, const std::function<bool()>& settled)
{
    Timing timing;
    QElapsedTimer total;
    total.start();
    const double actionStart = ThreadCpuMs();
    action();
    // Posted events include the window's repaint of what changed.
    QCoreApplication::sendPostedEvents();
    timing.action = double(total.nsecsElapsed()) / 1e6;
    timing.actionCpu = ThreadCpuMs() - actionStart;
    while (!settled() && total.elapsed() < 20000) {
        QElapsedTimer turn;
        turn.start();
        const double cpu = ThreadCpuMs();
        QCoreApplication::processEvents();
        timing.longest = std::max(timing.longest, double(turn.nsecsElapsed()) / 1e6);
        timing.longestCpu = std::max(timing.longestCpu, ThreadCpuMs() - cpu);
    }
    timing.settled = double(total.nsecsElapsed()) / 1e6;
    return timing;
}

// Lets both windows finish whatever the last action left queued.
void Drain()
{
    for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
}

void Row(const char* what, const Timing& window, const Timing& plain)
{
    std::printf("%-22s %8.1f %8.1f %7.2fx %8.1f %8.1f %8.1f %8.1f\n", what, window.action,
                plain.blocked(), window.action / std::max(plain.blocked(), 0.01), window.longest,
                window.longestCpu, window.blocked(), window.settled);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Keystrokes 400 ms apart, so that after each the pause passes and the live
// preview reads, builds and starts loading a page: in turns, a few with the
// live preview and the tag colours off, then as many with both on (once the
// first page is shown), and so on, so that the machine running faster or
// slower meanwhile weighs on both alike. For each keystroke, Measure's time
// with the processor time it used, and the longest turn of the loop in the
// 400 ms after it (while on, the update's parts).
void SpacedKeystrokes(TForm1& form, int keystrokes)
{
    constexpr int kTurns = 4;
    const auto spaced = [&](int count, std::vector<double>& keys, std::vector<double>& cpu,
                            Timing& turns) {
        for (int i = 0; i < count; ++i) {
            const QString before = form.statusPanelText(0);
            const Timing key = Measure([&] { QTest::keyClick(form.Memo1, Qt::Key_A); },
                                       [&] { return form.statusPanelText(0) != before; });
            keys.push_back(key.blocked());
            cpu.push_back(key.actionCpu);
            QElapsedTimer gap;
            gap.start();
            while (gap.elapsed() < LivePreview::kPauseMs + 100) {
                QElapsedTimer turn;
                turn.start();
                const double used = ThreadCpuMs();
                QCoreApplication::processEvents();
                turns.longest = std::max(turns.longest, double(turn.nsecsElapsed()) / 1e6);
                turns.longestCpu = std::max(turns.longestCpu, ThreadCpuMs() - used);
            }
        }
    };
    const auto toggle = [&] {
        for (const char* item : {"N57", "N58"})
            if (auto* entry = form.findChild<QAction*>(QString::fromLatin1(item))) entry->trigger();
    };
    const auto slowest = [](const std::vector<double>& values) {
        return *std::max_element(values.begin(), values.end());
    };
    int pages = 0, failed = 0;
    // Until a page is shown or fails, as the pane switched off lets its page go.
    const auto waitForPage = [&](int limitMs) {
        const int shown = pages, gone = failed;
        QElapsedTimer clock;
        clock.start();
        while (pages == shown && failed == gone && clock.elapsed() < limitMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return double(clock.elapsed()) / 1e3;
    };

    std::vector<double> keysOff, keysOn, cpuOff, cpuOn;
    Timing turnsOff, turnsOn;
    double firstSeconds = 0;
    for (int round = 0; round < kTurns; ++round) {
        const int count = keystrokes / kTurns + (round < keystrokes % kTurns);
        spaced(count, keysOff, cpuOff, turnsOff);
        toggle();
        auto* pane = form.findChild<QWebEngineView*>(u"EmbeddedWB2"_s);
        if (!pane) return;
        // Counted as the live preview counts them: an update goes into the
        // page shown, without a load.
        if (round == 0)
            QObject::connect(form.findChild<LivePreview*>(), &LivePreview::pageShown, pane,
                             [&](bool ok) {
                                 pages += ok;
                                 failed += !ok;
                             });
        const double seconds = waitForPage(120000);
        if (round == 0) firstSeconds = seconds;
        Drain();
        spaced(count, keysOn, cpuOn, turnsOn);
        toggle();
        Drain();
    }
    // One more keystroke, both on, once the first page is in, and the time
    // until its page is shown.
    toggle();
    waitForPage(120000);
    for (QElapsedTimer settle; !settle.isValid() || settle.elapsed() < 5000;) {
        if (!settle.isValid()) settle.start();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    QTest::keyClick(form.Memo1, Qt::Key_A);
    const double updateSeconds = waitForPage(60000);
    toggle();
    Drain();

    std::printf("keystrokes 400 ms apart, live preview and tag colours off / on, %d turns each:\n",
                kTurns);
    std::printf("  median %.1f / %.1f ms (%.2fx), slowest %.1f / %.1f ms (%.2fx)\n",
                Median(keysOff), Median(keysOn), Median(keysOn) / Median(keysOff), slowest(keysOff),
                slowest(keysOn), slowest(keysOn) / slowest(keysOff));
    std::printf("  processor time, median %.2f / %.2f ms (%.2fx)\n", Median(cpuOff), Median(cpuOn),
                Median(cpuOn) / Median(cpuOff));
    std::printf("  longest turn of the loop between them %.1f / %.1f ms (cpu %.1f / %.1f ms)\n",
                turnsOff.longest, turnsOn.longest, turnsOff.longestCpu, turnsOn.longestCpu);
    std::printf("  first page of the whole document: %s after %.1f s\n",
                pages    ? "shown"
                : failed ? "the engine failed (its renderer ended)"
                         : "not yet",
                firstSeconds);
    std::printf("  a keystroke's page shown after %.2f s (the pause of %d ms included)\n",
                updateSeconds, LivePreview::kPauseMs);
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication app(argc, argv);
    const double megabytes = argc > 1 ? QByteArray(argv[1]).toDouble() : 10;
    const int keystrokes = argc > 2 ? QByteArray(argv[2]).toInt() : 20;

    QTemporaryDir directory;
    const QString path = directory.filePath(u"thread.txt"_s);
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) return 1;
        file.write(Big5Thread(qsizetype(megabytes * 1024 * 1024)));
    }

    ScriptedPrompts prompts;
    FakeKeyboardState keyboard;
    FixedClock clock;
    TForm1 form(prompts, keyboard, clock);
    form.show();
    QPlainTextEdit plain;
    plain.setFont(form.Memo1->font());
    plain.resize(form.Memo1->size());
    plain.show();
    if (!QTest::qWaitForWindowExposed(&form) || !QTest::qWaitForWindowExposed(&plain)) return 1;
    plain.resize(form.Memo1->size());
    Drain();

    const auto panel = [&] { return form.statusPanelText(0); };
    const auto changed = [&](const QString& before) {
        return [&, before] { return panel() != before; };
    };
    // The bare editor has nothing to settle; a few turns of the loop give
    // it the same chance to show anything it left for later.
    int turns = 0;
    const auto now = [&turns] { return ++turns % 4 == 0; };

    std::printf("%g MB Big5, %d cores\n", megabytes, QThread::idealThreadCount());
    std::printf("%-22s %8s %8s %8s %8s %8s %8s %8s\n", "ms", "window", "plain", "ratio", "longest",
                "(cpu)", "blocked", "settled");

    // Opening: read, decode and set the text; then setting the decoded text
    // alone. Each twice, taking turns, and the second pair counts: the first
    // pays for the process's first large allocations. The window decodes a
    // long file on a thread and takes its text in steps: it has settled once
    // the whole text is in.
    const auto openWindow = [&] {
        return Measure(
            [&] {
                prompts.fileAnswers.push_back(path);
                form.SpeedButton18Click();
            },
            [&] { return !form.busy() && now(); });
    };
    const auto openPlain = [&] {
        return Measure(
            [&] {
                QString error;
                plain.setPlainText(text::ReadDocumentFile(path, &error)->text);
            },
            now);
    };
    QString error;
    const QString decoded = text::ReadDocumentFile(path, &error)->text;
    const auto setWindow = [&] { return Measure([&] { form.Memo1->setPlainText(decoded); }, now); };
    const auto setPlain = [&] { return Measure([&] { plain.setPlainText(decoded); }, now); };
    for (int round = 0; round < 2; ++round) {
        const Timing window = setWindow(), bare = setPlain();
        if (round == 1) Row("set the text", window, bare);
    }
    for (int round = 0; round < 2; ++round) {
        const Timing window = openWindow(), bare = openPlain();
        if (round == 1) Row("open", window, bare);
        Drain();
    }
    std::printf("  (%d paragraphs)\n", form.Memo1->document()->blockCount());

    // The first caret move into the middle, as a click there would make it.
    const auto toMiddle = [](QPlainTextEdit& memo) {
        QTextCursor cursor(memo.document());
        cursor.setPosition(memo.document()->characterCount() / 2);
        memo.setTextCursor(cursor);
    };
    QString before = panel();
    const Timing middleWindow = Measure([&] { toMiddle(*form.Memo1); }, changed(before));
    const Timing middlePlain = Measure([&] { toMiddle(plain); }, now);
    Row("caret to the middle", middleWindow, middlePlain);
    Drain();

    before = panel();
    const Timing endWindow = Measure(
        [&] { QTest::keyClick(form.Memo1, Qt::Key_End, Qt::ControlModifier); }, changed(before));
    const Timing endPlain =
        Measure([&] { QTest::keyClick(&plain, Qt::Key_End, Qt::ControlModifier); }, now);
    Row("Ctrl+End", endWindow, endPlain);
    Drain();

    // Four steps of a resize by 16 pixels, each timed on its own; the bare
    // editor goes first every other step, so neither always finds the
    // processor's caches warmed by the other.
    for (int step = 0; step < 4; ++step) {
        Timing resizeWindow, resizePlain;
        const auto window = [&] {
            before = panel();
            resizeWindow =
                Measure([&] { form.resize(form.width() + 16, form.height()); }, changed(before));
        };
        const auto bare = [&] {
            resizePlain = Measure([&] { plain.resize(plain.width() + 16, plain.height()); }, now);
        };
        if (step % 2) {
            bare();
            window();
        } else {
            window();
            bare();
        }
        Row(step % 2 ? "resize (bare first)" : "resize by 16 px", resizeWindow, resizePlain);
        Drain();
    }

    // Keystrokes in the middle of the document, word wrap on.
    toMiddle(*form.Memo1);
    toMiddle(plain);
    Drain();
    std::vector<double> typedWindow, typedPlain;
    for (int i = 0; i < keystrokes; ++i) {
        before = panel();
        typedWindow.push_back(
            Measure([&] { QTest::keyClick(form.Memo1, Qt::Key_A); }, changed(before)).blocked());
        typedPlain.push_back(Measure([&] { QTest::keyClick(&plain, Qt::Key_A); }, now).blocked());
    }
    Timing typed, typedBare;
    typed.action = typed.settled = Median(typedWindow);
    typedBare.action = Median(typedPlain);
    Row("keystroke (median)", typed, typedBare);
    typed.action = typed.settled = *std::max_element(typedWindow.begin(), typedWindow.end());
    typedBare.action = *std::max_element(typedPlain.begin(), typedPlain.end());
    Row("keystroke (slowest)", typed, typedBare);

    // The line list that conversion, preview and printing read, first and
    // again; beside it the bare editor's rows, read from its own layout of
    // every block.
    const auto plainLines = [&] {
        QStringList lines;
        auto* layout = qobject_cast<QPlainTextDocumentLayout*>(plain.document()->documentLayout());
        for (QTextBlock block = plain.document()->begin(); block.isValid(); block = block.next()) {
            layout->ensureBlockLayout(block);
            const QString text = block.text();
            for (int i = 0; i < block.layout()->lineCount(); ++i) {
                const QTextLine line = block.layout()->lineAt(i);
                lines.append(text.mid(line.textStart(), line.textLength()));
            }
        }
        return lines;
    };
    for (const char* what : {"line list", "line list again"}) {
        qsizetype count = 0;
        const Timing linesWindow =
            Measure([&] { count = markup::DisplayedLines(*form.Memo1).size(); }, now);
        const Timing linesPlain = Measure([&] { plainLines(); }, now);
        Row(what, linesWindow, linesPlain);
        if (count == 0) return 1;
    }
    Drain();

    // A new editor font, then word wrap off and on again: each re-wraps the
    // whole document.
    QFont larger = form.Memo1->font();
    larger.setPixelSize(18);
    before = panel();
    const Timing fontWindow = Measure(
        [&] {
            prompts.fontAnswers.push_back(larger);
            form.N31Click();
        },
        changed(before));
    const Timing fontPlain = Measure([&] { plain.setFont(larger); }, now);
    Row("new font", fontWindow, fontPlain);
    Drain();
    QAction* wrap = form.findChild<QAction*>(u"W1"_s);
    for (const bool on : {false, true}) {
        before = panel();
        const Timing wrapWindow = Measure([&] { wrap->trigger(); }, changed(before));
        const Timing wrapPlain = Measure(
            [&] {
                plain.setLineWrapMode(on ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
            },
            now);
        Row(on ? "word wrap on" : "word wrap off", wrapWindow, wrapPlain);
        Drain();
    }

    // Replace All of a word that occurs everywhere, through the dialog's
    // button; beside it the bare editor setting the text a plain string
    // replacement made.
    {
        const int occurrences = int(form.Memo1->toPlainText().count(u"word"_s));
        auto* dialog = form.ReplaceDialog1;
        dialog->findChild<QLineEdit*>(u"FindText"_s)->setText(u"word"_s);
        dialog->findChild<QLineEdit*>(u"ReplaceText"_s)->setText(u"詞語"_s);
        auto* replaceAll = dialog->findChild<QPushButton*>(u"ReplaceAll"_s);
        before = panel();
        // A long document's replacements are found on a thread and made in
        // steps: it has settled once all are made.
        const Timing replaceWindow =
            Measure([&] { replaceAll->click(); }, [&] { return !form.busy() && now(); });
        const Timing replacePlain = Measure(
            [&] { plain.setPlainText(plain.toPlainText().replace(u"word"_s, u"詞語"_s)); }, now);
        Row("replace all", replaceWindow, replacePlain);
        std::printf("  (%d occurrences)\n", occurrences);
        Drain();
    }

    // The post copied as Markdown (written on a thread of its own, the
    // clipboard set at the end), beside the bare editor copying its text.
    {
        QApplication::clipboard()->clear();
        const Timing copyWindow =
            Measure([&] { form.findChild<QAction*>(u"N67"_s)->trigger(); },
                    [] { return !QApplication::clipboard()->text().isEmpty(); });
        const Timing copyPlain = Measure(
            [&] {
                plain.selectAll();
                plain.copy();
            },
            now);
        Row("copy as Markdown", copyWindow, copyPlain);
        Drain();
    }

    SpacedKeystrokes(form, keystrokes);
    form.Memo1->document()->setModified(false);
    return 0;
}
