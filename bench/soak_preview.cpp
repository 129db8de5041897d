// A long session with the live preview on: the real main window, a post of
// about 100 KB, one character typed and the pane's update awaited, N times.
// Reports the process's resident memory after update 20 and after update N,
// after the pane is switched off again, how many renderer processes the
// engine started for the pane, and the processor time of this process and
// all its helpers per update beside a bare QWebEngineView given the same
// pages with setContent(), in the same run.
//
//   soak_preview [updates=500] [kilobytes=100]
//
// Runs on any display; scripts/bench.sh gives it a private Xvfb.
#include <unistd.h>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QSet>
#include <QTimer>
#include <QWebEngineView>
#include <cstdio>
#include <functional>

#include "app/form1/form1.h"
#include "app/live_preview.h"
#include "app/memo_edit.h"
#include "convert/preview_module.h"
#include "convert/preview_page.h"
#include "fakes/scripted_prompts.h"
#include "generated_post.h"
#include "markup/editor_lines.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// The fields of /proc/PID/stat after the command's closing parenthesis.
QList<QByteArray> StatFields(const QString& pid)
{
    QFile file(u"/proc/%1/stat"_s.arg(pid));
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray line = file.readAll();
    const qsizetype close = line.lastIndexOf(')');
    return close < 0 ? QList<QByteArray>{} : line.mid(close + 2).split(' ');
}

struct Process {
    QString pid;
    QString parent;
    QByteArray command;
};

QList<Process> AllProcesses()
{
    QList<Process> all;
    for (const QString& pid : QDir(u"/proc"_s).entryList(QDir::Dirs)) {
        bool number = false;
        pid.toInt(&number);
        if (!number) continue;
        const QList<QByteArray> fields = StatFields(pid);
        if (fields.size() < 2) continue;
        QFile cmdline(u"/proc/%1/cmdline"_s.arg(pid));
        cmdline.open(QIODevice::ReadOnly);
        all.append({pid, QString::fromLatin1(fields[1]), cmdline.readAll()});
    }
    return all;
}

// This process and every process below it.
QList<Process> Tree()
{
    const QList<Process> all = AllProcesses();
    QSet<QString> inTree{QString::number(::getpid())};
    QList<Process> tree;
    for (bool grew = true; grew;) {
        grew = false;
        for (const Process& process : all)
            if (!inTree.contains(process.pid) && inTree.contains(process.parent)) {
                inTree.insert(process.pid);
                grew = true;
            }
    }
    for (const Process& process : all)
        if (inTree.contains(process.pid)) tree.append(process);
    return tree;
}

// Seconds of processor time used by this process and its helpers, those
// that ended included (their parents have taken them in).
double TreeSeconds()
{
    double ticks = 0;
    for (const Process& process : Tree()) {
        const QList<QByteArray> fields = StatFields(process.pid);
        // utime, stime, cutime, cstime: fields 14 to 17 of the whole line.
        if (fields.size() > 14)
            for (int i = 11; i <= 14; ++i) ticks += fields[i].toDouble();
    }
    return ticks / double(::sysconf(_SC_CLK_TCK));
}

double ResidentMegabytesOf(const QString& pid)
{
    QFile status(u"/proc/%1/status"_s.arg(pid));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ')[0].toDouble() / 1024;
    return 0;
}

double ResidentMegabytes()
{
    return ResidentMegabytesOf(QString::number(::getpid()));
}

// This process and its helpers; pages they share are counted in each.
double TreeResidentMegabytes()
{
    double sum = 0;
    for (const Process& process : Tree()) sum += ResidentMegabytesOf(process.pid);
    return sum;
}

// The engine's renderer processes now running: what its zygote processes
// have forked (they keep the zygote's command line).
QSet<QString> Renderers()
{
    const QList<Process> tree = Tree();
    QSet<QString> zygotes;
    for (const Process& process : tree)
        if (process.command.contains("--type=zygote")) zygotes.insert(process.pid);
    QSet<QString> pids;
    for (const Process& process : tree)
        if (zygotes.contains(process.parent) && zygotes.contains(process.pid))
            pids.insert(process.pid);
    return pids;
}

// Runs the loop until `done` holds or `ms` have passed; false on time-out.
// Sleeps between looks, so that waiting costs no processor time.
bool WaitFor(const std::function<bool()>& done, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms) return false;
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

void Settle(int ms)
{
    WaitFor([] { return false; }, ms);
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication app(argc, argv);
    const int updates = argc > 1 ? std::max(21, atoi(argv[1])) : 500;
    const double kilobytes = argc > 2 ? atof(argv[2]) : 100;
    convert::PrepareBrowserEngine();

    ScriptedPrompts prompts;
    FakeKeyboardState keyboard;
    FixedClock clock;
    TForm1 form(prompts, keyboard, clock);
    form.resize(1000, 700);
    form.show();
    form.Memo1->setPlainText(bench::GeneratedPost(qsizetype(kilobytes * 1024)));
    const double before = ResidentMegabytes();

    form.findChild<QAction*>(u"N57"_s)->trigger();
    auto* live = form.findChild<LivePreview*>();
    int shown = 0;
    QObject::connect(live, &LivePreview::pageShown, [&](bool) { ++shown; });
    if (!WaitFor([&] { return shown > 0; }, 60000)) {
        std::fprintf(stderr, "soak_preview: the live preview showed no first page\n");
        return 1;
    }
    Settle(1000);

    QSet<QString> renderers = Renderers();
    const double start = TreeSeconds();
    double at20 = 0;
    double treeAt20 = 0;
    const int middle = form.Memo1->document()->characterCount() / 2;
    for (int update = 1; update <= updates; ++update) {
        const int expected = shown + 1;
        // One character typed and taken back in turns, near the middle, where
        // the caret is: the pane scrolls there after each page.
        QTextCursor cursor = form.Memo1->textCursor();
        cursor.setPosition(middle);
        if (update % 2) {
            cursor.insertText(u"字"_s);
        } else {
            cursor.setPosition(middle + 1, QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
        }
        form.Memo1->setTextCursor(cursor);
        if (!WaitFor([&] { return shown >= expected; }, 60000)) {
            std::fprintf(stderr, "soak_preview: update %d never arrived\n", update);
            return 1;
        }
        renderers.unite(Renderers());
        if (update == 20) {
            at20 = ResidentMegabytes();
            treeAt20 = TreeResidentMegabytes();
        }
        // The way there, to tell growth that levels off from growth that does not.
        if (update % 100 == 0 && update < updates)
            std::printf("  after update %d: %.1f MB, with its helpers %.1f MB\n", update,
                        ResidentMegabytes(), TreeResidentMegabytes());
    }
    const double liveSeconds = TreeSeconds() - start;
    Settle(2000);
    const double atN = ResidentMegabytes();
    const double treeAtN = TreeResidentMegabytes();
    form.findChild<QAction*>(u"N57"_s)->trigger();
    Settle(3000);
    const double off = ResidentMegabytes();
    const double treeOff = TreeResidentMegabytes();

    // The bare view, given the pages the pane was given, as many times.
    QWebEngineView bare;
    bare.resize(form.findChild<QWidget*>(u"EmbeddedWB2"_s)->size());
    bare.show();
    const QStringList lines = markup::DisplayedLines(*form.Memo1);
    QList<QByteArray> pages;
    for (const QString& extra : {QString(), u"字"_s}) {
        QStringList changed = lines;
        changed[changed.size() / 2] += extra;
        pages.append(convert::PreviewPageBytes(convert::BuildPreviewPageLines(changed, 1)));
    }
    const auto bareLoad = [&](const QByteArray& page) {
        QEventLoop loop;
        QObject::connect(&bare, &QWebEngineView::loadFinished, &loop, &QEventLoop::quit);
        bare.setContent(page, u"text/html"_s);
        loop.exec();
    };
    bareLoad(pages[0]);
    Settle(1000);
    const int bareUpdates = std::min(updates, 100);
    const double bareStart = TreeSeconds();
    for (int update = 1; update <= bareUpdates; ++update) bareLoad(pages[update % 2]);
    const double bareSeconds = TreeSeconds() - bareStart;

    const double perUpdate = 1000 * liveSeconds / updates;
    const double barePerUpdate = 1000 * bareSeconds / bareUpdates;
    std::printf("post: %d characters, %d updates of the live preview\n",
                form.Memo1->document()->characterCount() - 1, updates);
    std::printf(
        "resident memory: %.1f MB before the pane, %.1f MB after update 20, "
        "%.1f MB after update %d (%+.1f MB), %.1f MB with the pane off again\n",
        before, at20, atN, updates, atN - at20, off);
    std::printf(
        "with its helpers: %.1f MB after update 20, %.1f MB after update %d (%+.1f MB), "
        "%.1f MB with the pane off again\n",
        treeAt20, treeAtN, updates, treeAtN - treeAt20, treeOff);
    std::printf("renderer processes started for the pane: %lld\n",
                static_cast<long long>(renderers.size()));
    std::printf(
        "processor time per update, this process and its helpers: %.1f ms; "
        "bare setContent: %.1f ms; ratio %.2fx\n",
        perUpdate, barePerUpdate, perUpdate / barePerUpdate);
    form.Memo1->document()->setModified(false);
    return 0;
}
