// The recovery copy's file and the folder it is kept in.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "text/recovery_copy.h"
#include "text/recovery_folder.h"

using namespace Qt::Literals::StringLiterals;

namespace {

TEST(RecoveryCopyFile, KeepsEveryTextExactly)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"copy.recovery"_s);
    struct Case {
        QStringList pieces;
        QString text;
    };
    const QString placeholder(QChar(0xDC80));
    const QString pair = u"\U0001F600"_s;
    const Case cases[] = {
        {{}, {}},
        {{u"a\u00A0b\u2028c\uFDD0\uFDD1"_s}, u"a\u00A0b\u2028c\uFDD0\uFDD1"_s},
        // Paragraph separators are the document's line breaks.
        {{u"one\u2029two\u2029"_s}, u"one\ntwo\n"_s},
        // A slice may end inside a surrogate pair; placeholders stay lone.
        {{u"中"_s + pair.left(1), pair.mid(1) + placeholder + u"\U000F000A"_s},
         u"中"_s + pair + placeholder + u"\U000F000A"_s},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(text::WriteRecoveryCopy(path, c.pieces, u"/tmp/<b>x</b>\\0"_s,
                                            text::FileEncoding::Utf8Bom));
        const auto copy = text::ReadRecoveryCopy(path);
        ASSERT_TRUE(copy.has_value());
        EXPECT_EQ(copy->text, c.text);
        EXPECT_EQ(copy->fileName, u"/tmp/<b>x</b>\\0"_s);
        EXPECT_EQ(copy->encoding, text::FileEncoding::Utf8Bom);
    }
    EXPECT_EQ(QFile::permissions(path), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ReadUser | QFileDevice::WriteUser);

    // A cut-off copy or some other file is no copy.
    ASSERT_TRUE(text::WriteRecoveryCopy(path, {u"abc"_s}, u"\\0"_s, text::FileEncoding::Big5));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.resize(file.size() - 1));
    file.close();
    EXPECT_FALSE(text::ReadRecoveryCopy(path).has_value());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("plain text\n");
    file.close();
    EXPECT_FALSE(text::ReadRecoveryCopy(path).has_value());
    EXPECT_FALSE(text::ReadRecoveryCopy(dir.filePath(u"missing"_s)).has_value());
}

TEST(RecoveryFolderLookup, FollowsTheStateHome)
{
    const QByteArray saved = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", "/srv/state");
    EXPECT_EQ(text::RecoveryFolder(), u"/srv/state/quillpost/recovery"_s);
    for (const char* unusable : {"", "relative/state"}) {
        qputenv("XDG_STATE_HOME", unusable);
        EXPECT_EQ(text::RecoveryFolder(), QDir::homePath() + u"/.local/state/quillpost/recovery"_s);
    }
    qputenv("XDG_STATE_HOME", saved);
}

}  // namespace
