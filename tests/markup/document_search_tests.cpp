// Searching the document in place.
#include <gtest/gtest.h>
#include <QTextCursor>
#include <QTextDocument>

#include <random>

#include "markup/document_search.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// Replace All rewrites each paragraph once; on random documents it must give
// what replacing the occurrences one by one gives, from the last to the
// first, as they are found from the start (text, count, caret, one undo step).
TEST(ReplaceAll, AgreesWithReplacingOccurrenceByOccurrence)
{
    const QStringList pieces = {u"a"_s,  u"A"_s, u"ab"_s, u" "_s,  u"\n"_s, u"中"_s,
                                u"文"_s, u"-"_s, u"😀"_s,  u"ba"_s, u"x"_s};
    const QStringList finds = {u"a"_s, u"ab"_s, u"aa"_s, u"中文"_s, u"a a"_s, u"😀"_s, u"b"_s};
    const QStringList withs = {u""_s, u"a"_s, u"aa"_s, u"ab"_s, u"詞"_s, u"x\ny"_s, u"b a"_s};
    std::mt19937 random(5);
    for (int round = 0; round < 1500; ++round) {
        QString text;
        for (int i = int(random() % 40); i > 0; --i) text += pieces[int(random() % pieces.size())];
        const QString what = finds[int(random() % finds.size())];
        const QString with = withs[int(random() % withs.size())];
        markup::FindOptions options;
        options.matchCase = random() % 2;
        options.wholeWord = random() % 3 == 0;
        options.backward = random() % 2;
        SCOPED_TRACE(QStringLiteral("%1 | %2 -> %3 case %4 word %5")
                         .arg(text, what, with)
                         .arg(options.matchCase)
                         .arg(options.wholeWord)
                         .toStdString());

        QTextDocument expected(text);
        markup::FindOptions forward = options;
        forward.backward = false;
        QList<markup::Occurrence> found;
        for (int position = 0;;) {
            const auto occurrence = markup::FindInDocument(expected, what, position, forward);
            if (!occurrence) break;
            found.append(*occurrence);
            position = occurrence->end;
        }
        int expectedEnd = -1;
        QTextCursor cursor(&expected);
        for (auto it = found.crbegin(); it != found.crend(); ++it) {
            cursor.setPosition(it->start);
            cursor.setPosition(it->end, QTextCursor::KeepAnchor);
            cursor.insertText(with);
            if (expectedEnd < 0) expectedEnd = cursor.position();
        }
        if (!found.isEmpty()) expectedEnd += int((with.size() - what.size()) * (found.size() - 1));

        QTextDocument document(text);
        document.clearUndoRedoStacks();
        int end = -1;
        EXPECT_EQ(markup::ReplaceAllInDocument(document, what, with, options, &end), found.size());
        EXPECT_EQ(document.toPlainText(), expected.toPlainText());
        EXPECT_EQ(end, expectedEnd);
        EXPECT_EQ(document.isUndoAvailable(), !found.isEmpty());
        document.undo();
        EXPECT_EQ(document.toPlainText(), text);
    }
}

}  // namespace
