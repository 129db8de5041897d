// A text given to the editing area in steps ends as setPlainText() leaves
// it, held against setPlainText() itself on generated posts.
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <random>

#include "markup/editor_lines.h"
#include "markup/stepwise_text.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// Lines of markup, Chinese, emoji and the editing area's stand-ins, some
// long, some empty.
QString GeneratedPost(unsigned seed, int lines)
{
    const QStringList pieces = {u"[b]"_s, u"公告"_s, u"😀"_s,      u" [red] "_s, u"word "_s,
                                u"\t"_s,  u"x"_s,    u"\u2029"_s, u"\uFDD0"_s,  u"\u00A0"_s};
    std::mt19937 random(seed);
    QString post;
    for (int line = 0; line < lines; ++line) {
        const int length = int(random() % 5) == 0 ? 0 : int(random() % 200);
        for (int i = 0; i < length; ++i) post += pieces[int(random() % pieces.size())];
        post += u'\n';
    }
    if (seed % 2) post.chop(1);  // a last line without its break
    return markup::EditorText(post);
}

TEST(StepwiseText, EndsAsSetPlainTextLeavesTheArea)
{
    const QString posts[] = {QString(),
                             u"one line"_s,
                             u"\n\n"_s,
                             GeneratedPost(1, 300),
                             GeneratedPost(2, 300),
                             QString(5000, u'x') + u"😀"_s.repeated(800)};
    for (const QString& post : posts) {
        for (const qsizetype part : {1, 7, 1000}) {
            SCOPED_TRACE(part);
            QPlainTextEdit set, stepped;
            set.setPlainText(post);
            stepped.setPlainText(u"old text"_s);
            QTextCursor(stepped.document()).insertText(u"typed "_s);  // something to undo
            stepped.moveCursor(QTextCursor::End);
            bool done = false;
            new markup::StepwiseText(
                stepped, post, [&] { done = true; }, part);
            QElapsedTimer waited;
            waited.start();
            while (!done && waited.elapsed() < 20000) QCoreApplication::processEvents();
            ASSERT_TRUE(done);
            EXPECT_EQ(markup::DocumentText(stepped), markup::DocumentText(set));
            EXPECT_EQ(stepped.document()->blockCount(), set.document()->blockCount());
            EXPECT_EQ(stepped.textCursor().position(), set.textCursor().position());
            EXPECT_FALSE(stepped.document()->isUndoAvailable());
            EXPECT_FALSE(stepped.document()->isModified());
            // Typing afterwards is one step of history, as after setPlainText().
            for (QPlainTextEdit* memo : {&set, &stepped}) {
                memo->insertPlainText(u"a"_s);
                memo->undo();
            }
            EXPECT_EQ(markup::DocumentText(stepped), markup::DocumentText(set));
            EXPECT_EQ(stepped.document()->isUndoAvailable(), set.document()->isUndoAvailable());
        }
    }
}

}  // namespace

namespace {

// Replace All found apart and made in steps, held against the one-call
// Replace All on generated posts: the same text, count and end, one undo
// step back to the post and one redo forward again.
TEST(StepwiseEdits, ReplaceAsTheOneCallReplaceAllDoes)
{
    const struct {
        QString what, with;
        markup::FindOptions options;
    } cases[] = {
        {u"word"_s, u"詞語"_s, {}},
        {u"[B]"_s, QString(), {false, false, false}},
        {u"x"_s, u"y\nz"_s, {}},  // a replacement that splits paragraphs
        {u"公告"_s, u"告示"_s, {true, true, false}},
        {u"😀"_s, u"word"_s, {}},
    };
    for (const unsigned seed : {3u, 4u}) {
        const QString post = GeneratedPost(seed, 400);
        for (const auto& c : cases) {
            SCOPED_TRACE(c.what.toStdString());
            QPlainTextEdit once, stepped;
            once.setPlainText(post);
            stepped.setPlainText(post);
            const QString original = markup::DocumentText(stepped);
            int onceEnd = -1;
            const int onceCount =
                markup::ReplaceAllInDocument(*once.document(), c.what, c.with, c.options, &onceEnd);
            const markup::Replacements found = markup::FindReplacements(
                stepped.document()->toRawText(), c.what, c.with, c.options);
            bool done = false;
            new markup::StepwiseEdits(*stepped.document(), found.edits, [&] { done = true; });
            QElapsedTimer waited;
            waited.start();
            while (!done && waited.elapsed() < 20000) QCoreApplication::processEvents();
            ASSERT_TRUE(done);
            EXPECT_EQ(found.count, onceCount);
            if (onceCount > 0) {
                EXPECT_EQ(found.end, onceEnd);
            }
            EXPECT_EQ(markup::DocumentText(stepped), markup::DocumentText(once));
            EXPECT_EQ(stepped.document()->availableUndoSteps(),
                      once.document()->availableUndoSteps());
            stepped.undo();
            EXPECT_EQ(markup::DocumentText(stepped), original);
            stepped.redo();
            EXPECT_EQ(markup::DocumentText(stepped), markup::DocumentText(once));
        }
    }
}

}  // namespace
