// Simplified and Traditional Chinese: text converted, tags and kept bytes
// not, held against OpenCC's own command on the text between the tags.
#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>

#include "convert/chinese_script.h"
#include "qstring_printer.h"
#include "text/big5_codec.h"

using namespace Qt::Literals::StringLiterals;

namespace {

using convert::ScriptConversion;

const QChar kKeptByte(char16_t(text::kBig5PlaceholderBase + 0xA4));

// What OpenCC's command makes of a text.
QString ByTheCommand(const QString& text, ScriptConversion conversion)
{
    QProcess opencc;
    opencc.start(u"opencc"_s,
                 {u"-c"_s, u"/usr/share/opencc/%1.json"_s.arg(ScriptConversionName(conversion))});
    opencc.write(text.toUtf8());
    opencc.closeWriteChannel();
    EXPECT_TRUE(opencc.waitForFinished(10000));
    return QString::fromUtf8(opencc.readAllStandardOutput());
}

TEST(ChineseScript, ConvertsTheTextAndLeavesTagsAsTheyAre)
{
    if (!ScriptConversionAvailable(ScriptConversion::SimplifiedToTaiwan))
        GTEST_SKIP() << "OpenCC's configuration is not installed";
    if (QStandardPaths::findExecutable(u"opencc"_s).isEmpty()) GTEST_SKIP() << "no opencc";
    const struct {
        QString post;
        QStringList texts;  // the text between the tags, in order
    } cases[] = {
        {u"[b]软件[/b]和内存"_s, {u"软件"_s, u"和内存"_s}},
        {u"[font=微软雅黑] 这们[/font=微软雅黑] "_s, {u"这们"_s}},
        {u"[url=\"http://x.cn/软件\"]下载软件[/url] [img]http://x.cn/图.png[/img]"_s,
         {u"下载软件"_s, u" "_s}},
        {u"这 [red] 红色[/red] 里\n第二行 "_s + kKeptByte + u"软件"_s,
         {u"这"_s, u"红色"_s, u"里\n第二行 "_s, u"软件"_s}},
    };
    for (const auto conversion :
         {ScriptConversion::SimplifiedToTaiwan, ScriptConversion::SimplifiedToHongKong,
          ScriptConversion::TraditionalToSimplified}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.post.toStdString());
            QString expected = c.post;
            qsizetype from = 0;
            for (const QString& text : c.texts) {
                from = expected.indexOf(text, from);
                ASSERT_GE(from, 0);
                const QString converted = ByTheCommand(text, conversion);
                expected.replace(from, text.size(), converted);
                from += converted.size();
            }
            EXPECT_EQ(convert::ConvertScript(c.post, conversion).value_or(u"-"_s), expected);
        }
    }
    // Taiwan's words, and Hong Kong's.
    EXPECT_EQ(convert::ConvertScript(u"软件"_s, ScriptConversion::SimplifiedToTaiwan), u"軟體"_s);
    EXPECT_EQ(convert::ConvertScript(u"软件"_s, ScriptConversion::SimplifiedToHongKong), u"軟件"_s);
    std::atomic_bool cancel = true;
    EXPECT_FALSE(convert::ConvertScript(u"软件"_s, ScriptConversion::TraditionalToTaiwan, &cancel));
}

}  // namespace
