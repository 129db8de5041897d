// The English spell check: checking every word of a 100 KB post beside the
// hunspell command on the same words; a keystroke at the end of that post
// with the check on beside one with it off; the longest hold of the event
// loop switching it on and paging through a 10 MB document, beside the same
// window with it off.
//
//   bench_spell [runs=5]
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "app/form1/form1.h"
#include "app/memo_edit.h"
#include "fakes/scripted_prompts.h"
#include "generated_post.h"
#include "loop_hold.h"
#include "spell/dictionary.h"
#include "spell/spell_words.h"

using namespace Qt::Literals::StringLiterals;

namespace {

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// A post of English prose among tags and Chinese, about `size` characters:
// the dictionary's own words, every seventh misspelt by two letters swapped.
QString EnglishPost(const spell::DictionaryFiles& files, qsizetype size)
{
    QFile dic(files.words);
    if (!dic.open(QIODevice::ReadOnly)) return {};
    QStringList vocabulary;
    for (const QByteArray& line : dic.readAll().split('\n')) {
        const QString word = QString::fromUtf8(line.left(line.indexOf('/')));
        if (word.size() > 3 && word[0].isLower()) vocabulary.append(word);
    }
    QRandomGenerator random(7);
    QString post;
    for (int n = 0; post.size() < size; ++n) {
        QString word = vocabulary[random.bounded(int(vocabulary.size()))];
        if (n % 7 == 0) std::swap(word[1], word[2]);
        switch (n % 23) {
            case 5:
                post += u"[b]"_s + word + u"[/b] "_s;
                break;
            case 11:
                post += u"[url=\"http://example.com/"_s + word + u"\"]"_s + word + u"[/url] "_s;
                break;
            case 17:
                post += u"中文的一段話，"_s + word + u" "_s;
                break;
            case 22:
                post += word + u".\n"_s;
                break;
            default:
                post += word + u' ';
        }
    }
    return post;
}

using bench::Held;

// Turns the check on and waits for the dictionary; the longest turn of the
// loop meanwhile.
double SwitchOn(TForm1& form)
{
    form.findChild<QAction*>(u"N73"_s)->trigger();
    double longest = 0;
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 1500) {
        QElapsedTimer turn;
        turn.start();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        longest = std::max(longest, double(turn.nsecsElapsed()) / 1e6);
    }
    return longest;
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? QByteArray(argv[1]).toInt() : 5;
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());  // no personal words
    qputenv("XDG_CONFIG_HOME", data.path().toLocal8Bit());

    spell::DictionaryFiles english;
    for (const spell::DictionaryFiles& files : spell::InstalledDictionaries())
        if (files.name == spell::kDefaultDictionary) english = files;
    if (english.name.isEmpty()) {
        std::fprintf(stderr, "no en_US dictionary (hunspell-en-us)\n");
        return 1;
    }
    const QString post = EnglishPost(english, 100 * 1024);

    // Every word: reading the dictionary, finding the words, asking about each.
    std::vector<double> ours, theirs;
    QStringList words;
    int misspelt = 0;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        QString problem;
        auto dictionary = spell::Dictionary::Open(english, &problem);
        words.clear();
        misspelt = 0;
        for (const QString& paragraph : post.split(u'\n')) {
            for (const spell::WordSpan& span : spell::WordsToCheck(paragraph, false)) {
                words.append(paragraph.mid(span.start, span.length));
                misspelt += !dictionary->isCorrect(words.constLast());
            }
        }
        ours.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    const QString list = data.filePath(u"words.txt"_s);
    {
        QFile file(list);
        if (!file.open(QIODevice::WriteOnly)) return 1;
        file.write(words.join(u'\n').toUtf8());
    }
    int listed = 0;
    for (int run = 0; run < runs; ++run) {
        QProcess hunspell;
        hunspell.setStandardInputFile(list);
        QElapsedTimer clock;
        clock.start();
        hunspell.start(u"hunspell"_s, {u"-d"_s, english.affix.chopped(4), u"-l"_s});
        if (!hunspell.waitForFinished(60000)) return 1;
        theirs.push_back(double(clock.nsecsElapsed()) / 1e6);
        listed = int(hunspell.readAllStandardOutput().count('\n'));
    }
    std::printf("every word of a 100 KB post (%lld words, %d misspelt; hunspell -l: %d):\n",
                (long long)words.size(), misspelt, listed);
    std::printf("  %.1f ms against hunspell -l %.1f ms (%.2fx)\n", Median(ours), Median(theirs),
                Median(ours) / Median(theirs));

    // Keystrokes at the end of the post, in two windows: the check on in one.
    ScriptedPrompts prompts;
    FakeKeyboardState keyboard;
    FixedClock clock;
    TForm1 checked(prompts, keyboard, clock), plain(prompts, keyboard, clock);
    for (TForm1* form : {&checked, &plain}) {
        form->show();
        if (!QTest::qWaitForWindowExposed(form)) return 1;
        form->Memo1->setPlainText(post);
        form->Memo1->moveCursor(QTextCursor::End);
    }
    SwitchOn(checked);
    std::vector<double> on, off;
    const QString typed = qEnvironmentVariable("TYPED", u"The quikc brown fox "_s);
    for (int i = 0; i < 3 * runs; ++i)
        for (const QChar c : typed) {
            on.push_back(Held([&] { QTest::keyClick(checked.Memo1, c.toLatin1()); }));
            off.push_back(Held([&] { QTest::keyClick(plain.Memo1, c.toLatin1()); }));
        }
    std::printf("keystroke at the end of the 100 KB post, spell check on / off:\n");
    std::printf("  median %.2f / %.2f ms (%.2fx), slowest %.2f / %.2f ms\n", Median(on),
                Median(off), Median(on) / Median(off), *std::max_element(on.begin(), on.end()),
                *std::max_element(off.begin(), off.end()));

    // A 10 MB document: switching on and paging down.
    const QString large = bench::GeneratedPost(10 * bench::kMegabyte).replace(u"\r\n"_s, u"\n"_s);
    checked.findChild<QAction*>(u"N73"_s)->trigger();  // off
    for (TForm1* form : {&checked, &plain}) {
        form->Memo1->setPlainText(large);
        form->Memo1->moveCursor(QTextCursor::Start);
    }
    QCoreApplication::processEvents();
    const double switching = SwitchOn(checked);
    double pagingOn = 0, pagingOff = 0;
    for (int i = 0; i < 40; ++i) {
        pagingOn =
            std::max(pagingOn, Held([&] { QTest::keyClick(checked.Memo1, Qt::Key_PageDown); }));
        pagingOff =
            std::max(pagingOff, Held([&] { QTest::keyClick(plain.Memo1, Qt::Key_PageDown); }));
    }
    std::printf("10 MB document, longest hold of the loop:\n");
    std::printf("  switching the check on %.1f ms; paging down, on / off %.1f / %.1f ms\n",
                switching, pagingOn, pagingOff);
    return 0;
}
