#include <gtest/gtest.h>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSet>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextCursor>

#include "spell/dictionary.h"
#include "spell/spell_layer.h"
#include "spell/spell_words.h"

using namespace Qt::Literals::StringLiterals;

namespace {

std::unique_ptr<spell::Dictionary> English()
{
    QString problem;
    for (const spell::DictionaryFiles& files : spell::InstalledDictionaries())
        if (files.name == spell::kDefaultDictionary)
            return spell::Dictionary::Open(files, &problem);
    ADD_FAILURE() << "no en_US dictionary (hunspell-en-us)";
    return {};
}

QStringList Misspelt(spell::Dictionary& dictionary, const QString& paragraph, bool inCode = false)
{
    QStringList words;
    for (const spell::WordSpan& span : spell::WordsToCheck(paragraph, inCode)) {
        const QString word = paragraph.mid(span.start, span.length);
        if (!dictionary.isCorrect(word)) words << word;
    }
    return words;
}

TEST(SpellCheck, MarksOnlyTheWordsTheReaderReads)
{
    auto dictionary = English();
    ASSERT_TRUE(dictionary);
    const struct {
        QString paragraph;
        bool inCode;
        QString marked;  // "|" between words
    } cases[] = {
        {u"Ths is a tset"_s, false, u"Ths|tset"_s},
        {u"[b]helo[/b] [i]world[/i]"_s, false, u"helo"_s},
        {u"[url=\"http://exmaple.com/speling\"]wrold[/url]"_s, false, u"wrold"_s},
        {u"[img]pictures/missspelt.png[/img] fine"_s, false, u""_s},
        {u"[font=Arial Narow ]text[/font=Arial Narow ] [size=5 ]big[/size=5 ]"_s, false, u""_s},
        {u"mail jhon.doe@exmaple.com or see www.exmaple.com and https://exmaple.org/a_b"_s, false,
         u""_s},
        {u"[code]int mian() { retrun 0; }[/code] erorr [code]teh"_s, false, u"erorr"_s},
        {u"retrun 0;[/code] erorr"_s, true, u"erorr"_s},
        {u"這是中文，Chinse 文字，ｆｕｌｌｗｉｄｔｈ"_s, false, u"Chinse"_s},
        {u"[quote]teh[/quote] [spoiler=plot]twist[/spoiler]"_s, false, u"teh"_s},
        {u"x86 file_name don't 'quoted' it’s recieve"_s, false, u"recieve"_s},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Misspelt(*dictionary, c.paragraph, c.inCode).join(u'|'), c.marked)
            << c.paragraph.toStdString();
}

// On plain English prose the same words as the hunspell command marks.
TEST(SpellCheck, AgreesWithTheHunspellCommand)
{
    const QString prose =
        u"Their is a certian kind of writter who recieves every arguement with "
        "enthusiasm. She definately prefered the begining of the story, wich was "
        "ocasionally humourous, to its akward ending. Nevertheless the commitee "
        "accomodated her sugestions untill the neccessary changes were made, and "
        "the final version was published in a respectable journal."_s;
    QProcess hunspell;
    hunspell.start(u"hunspell"_s, {u"-d"_s, u"en_US"_s, u"-l"_s});
    ASSERT_TRUE(hunspell.waitForStarted()) << "the hunspell command is needed";
    hunspell.write(prose.toUtf8());
    hunspell.closeWriteChannel();
    ASSERT_TRUE(hunspell.waitForFinished());
    const QStringList listed =
        QString::fromUtf8(hunspell.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    auto dictionary = English();
    ASSERT_TRUE(dictionary);
    const QStringList ours = Misspelt(*dictionary, prose);
    EXPECT_EQ(QSet<QString>(ours.begin(), ours.end()), QSet<QString>(listed.begin(), listed.end()));
    EXPECT_GE(ours.size(), 12);
}

// A code block opened paragraphs above keeps its words unmarked, and opening
// or closing one changes the marks below without their text changing.
TEST(SpellCheck, CodeBlocksAcrossParagraphs)
{
    QPlainTextEdit memo;
    memo.setPlainText(u"[code]\nmian\n[/code]\nmian erorr"_s);
    spell::SpellLayer layer(memo, English());
    QSignalSpy changed(&layer, &spell::SpellLayer::marksChanged);
    EXPECT_EQ(layer.marks(memo.document()->lastBlock()).size(), 0);  // not read yet
    ASSERT_TRUE(changed.wait(1000));
    changed.clear();
    const auto marks = [&](int paragraph) {
        return layer.marks(memo.document()->findBlockByNumber(paragraph)).size();
    };
    EXPECT_EQ(marks(1), 0);
    EXPECT_EQ(marks(3), 2);
    QTextCursor cursor(memo.document());
    cursor.insertText(u"x"_s);  // "x[code]" still opens
    EXPECT_EQ(changed.count(), 0);
    cursor.deleteChar();  // "x" + "code]": no longer a tag
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(marks(1), 1);
    cursor.insertText(u"["_s);
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(marks(1), 0);
    // A whole new text, pasted or read from a file.
    memo.setPlainText(u"[code]\n[code]\nmian\n[/code]\nmian"_s);
    EXPECT_EQ(marks(2), 0);
    EXPECT_EQ(marks(4), 1);
    const std::optional<spell::Misspelling> word = layer.misspellingAt(memo.toPlainText().size());
    ASSERT_TRUE(word);
    EXPECT_EQ(word->word, u"mian"_s);
    EXPECT_EQ(layer.dictionary().suggestions(word->word).value(0), u"main"_s);
}

// The user's words: kept in a file, read back; a file that cannot be
// written says so, the word known for the session all the same.
TEST(SpellCheck, PersonalDictionary)
{
    QTemporaryDir folder;
    const QString file = folder.filePath(u"quillpost/dictionary.txt"_s);
    QString problem;
    auto dictionary = English();
    ASSERT_TRUE(dictionary);
    EXPECT_TRUE(dictionary->readPersonal(file, &problem));  // none yet
    EXPECT_FALSE(dictionary->isCorrect(u"Quillpost"_s));
    EXPECT_TRUE(dictionary->addPersonal(file, u"Quillpost"_s, &problem));
    EXPECT_TRUE(dictionary->isCorrect(u"Quillpost"_s));
    auto again = English();
    EXPECT_TRUE(again->readPersonal(file, &problem));
    EXPECT_TRUE(again->isCorrect(u"Quillpost"_s));
    EXPECT_FALSE(
        again->addPersonal(folder.filePath(u"quillpost/dictionary.txt/x"_s), u"Qpst"_s, &problem));
    EXPECT_TRUE(problem.contains(u"無法寫入個人字典"_s));
    EXPECT_TRUE(again->isCorrect(u"Qpst"_s));
}

}  // namespace
