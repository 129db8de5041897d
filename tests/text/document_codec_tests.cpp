#include <gtest/gtest.h>

#include "text/big5_codec.h"
#include "text/document_file.h"

using namespace Qt::Literals::StringLiterals;
using text::DecodeDocument;
using text::EncodeDocument;
using text::FileEncoding;

namespace {

QByteArray Big5(const QString& text)
{
    return text::EncodeBig5(text, text::Unencodable::Fail).bytes;
}

QByteArray Encode(const QString& text, FileEncoding encoding)
{
    QString error;
    const std::optional<QByteArray> bytes = EncodeDocument(text, encoding, &error);
    EXPECT_TRUE(bytes.has_value()) << error.toStdString();
    return bytes.value_or(QByteArray());
}

TEST(DocumentCodec, EveryKindOfLineBreakReadsAsNewline)
{
    const text::DocumentText read = DecodeDocument("a\r\nb\rc\nd\n\re\r\r\nf");
    EXPECT_EQ(read.text, u"a\nb\nc\nd\n\ne\n\nf"_s);
    EXPECT_EQ(read.encoding, FileEncoding::Big5);
}

TEST(DocumentCodec, LineBreaksAreWrittenAsCrLf)
{
    EXPECT_EQ(Encode(u"a\nb\n\nc"_s, FileEncoding::Big5), QByteArray("a\r\nb\r\n\r\nc"));
    // A CR that reached the text some other way still ends its line as CR LF.
    EXPECT_EQ(Encode(u"a\rb\r\nc"_s, FileEncoding::Big5), QByteArray("a\r\nb\r\nc"));
}

TEST(DocumentCodec, FinalLineBreakSurvives)
{
    const text::DocumentText read = DecodeDocument("a\r\nb\r\n");
    EXPECT_EQ(read.text, u"a\nb\n"_s);
    EXPECT_EQ(Encode(read.text, read.encoding), QByteArray("a\r\nb\r\n"));
    EXPECT_EQ(DecodeDocument("\r\n").text, u"\n"_s);
}

TEST(DocumentCodec, Big5FileWithCrLfComesBackByteForByte)
{
    // Chinese text, a code no character has (A3C0), a stray lead byte before
    // a line break and one at the very end.
    const QByteArray file =
        Big5(u"【公告】測試，請勿回覆。\r\n[b]粗體[/b]\r\n"_s) + "\xA3\xC0\xA4\r\n\tend\xA4";
    const text::DocumentText read = DecodeDocument(file);
    EXPECT_EQ(read.encoding, FileEncoding::Big5);
    EXPECT_FALSE(read.text.contains(u'\r'));
    EXPECT_EQ(Encode(read.text, read.encoding), file);
}

TEST(DocumentCodec, EmptyFileIsAnEmptyBig5Document)
{
    const text::DocumentText read = DecodeDocument({});
    EXPECT_TRUE(read.text.isEmpty());
    EXPECT_EQ(read.encoding, FileEncoding::Big5);
    EXPECT_EQ(Encode(QString(), FileEncoding::Big5), QByteArray());
}

TEST(DocumentCodec, Utf8IsRecognisedAndWrittenBackAsUtf8)
{
    const QByteArray plain = u"中文 😀\r\nok\r\n"_s.toUtf8();
    const QByteArray marked = "\xEF\xBB\xBF" + plain;
    const struct {
        QByteArray file;
        FileEncoding encoding;
    } cases[] = {{plain, FileEncoding::Utf8}, {marked, FileEncoding::Utf8Bom}};
    for (const auto& c : cases) {
        const text::DocumentText read = DecodeDocument(c.file);
        EXPECT_EQ(read.encoding, c.encoding);
        EXPECT_EQ(read.text, u"中文 😀\nok\n"_s);
        EXPECT_EQ(Encode(read.text, read.encoding), c.file);
    }
}

TEST(DocumentCodec, MarkAloneAndRepeatedMarksAreKept)
{
    const text::DocumentText mark = DecodeDocument("\xEF\xBB\xBF");
    EXPECT_EQ(mark.encoding, FileEncoding::Utf8Bom);
    EXPECT_TRUE(mark.text.isEmpty());
    EXPECT_EQ(Encode(mark.text, mark.encoding), QByteArray("\xEF\xBB\xBF"));

    const QByteArray twice("\xEF\xBB\xBF\xEF\xBB\xBFx");
    const text::DocumentText read = DecodeDocument(twice);
    EXPECT_EQ(read.text, u"\uFEFFx"_s);
    EXPECT_EQ(Encode(read.text, read.encoding), twice);
}

TEST(DocumentCodec, PureAsciiIsBig5)
{
    const text::DocumentText read = DecodeDocument("[b]plain[/b]\r\n");
    EXPECT_EQ(read.encoding, FileEncoding::Big5);
    EXPECT_EQ(read.text, u"[b]plain[/b]\n"_s);
}

TEST(DocumentCodec, BytesThatAreNotStrictUtf8AreBig5AndKept)
{
    const QByteArray files[] = {
        QByteArray("\xEF\xBB\xBF") + Big5(u"中文"_s),  // a mark, then Big5
        "a\xC0\xAF",                                   // overlong "/"
        "a\xED\xA0\x80",                               // encoded surrogate
        "a\xF4\x90\x80\x80",                           // beyond U+10FFFF
        "a\xE4\xB8",                                   // cut-off sequence
    };
    for (const QByteArray& file : files) {
        const text::DocumentText read = DecodeDocument(file);
        EXPECT_EQ(read.encoding, FileEncoding::Big5) << file.toHex().toStdString();
        EXPECT_EQ(Encode(read.text, read.encoding), file) << file.toHex().toStdString();
    }
}

TEST(DocumentCodec, UnencodableCharacterIsNamedWithLineAndColumn)
{
    QString error;
    EXPECT_FALSE(EncodeDocument(u"first\n\nab😀c"_s, FileEncoding::Big5, &error));
    EXPECT_EQ(
        error,
        u"第 3 行第 3 列的字元「😀」(U+1F600) 無法以 Big5 儲存，檔案未寫入。可在「檔案」選單的「儲存編碼」改用 UTF-8 儲存。"_s);

    EXPECT_FALSE(EncodeDocument(u"x\r\n한"_s, FileEncoding::Big5, &error));
    EXPECT_EQ(
        error,
        u"第 2 行第 1 列的字元「한」(U+D55C) 無法以 Big5 儲存，檔案未寫入。可在「檔案」選單的「儲存編碼」改用 UTF-8 儲存。"_s);

    // A character left after others that also cannot be encoded: the first is named.
    EXPECT_FALSE(EncodeDocument(u"ไ中한"_s, FileEncoding::Big5, &error));
    EXPECT_TRUE(error.startsWith(u"第 1 行第 1 列的字元「ไ」(U+0E44)"_s)) << error.toStdString();
}

TEST(DocumentCodec, LoneSurrogateIsRefusedInUtf8)
{
    QString error;
    EXPECT_FALSE(EncodeDocument(u"ok\nab\xD83D"_s, FileEncoding::Utf8, &error));
    EXPECT_EQ(error, u"第 2 行第 3 列的字元「\uFFFD」(U+D83D) 無法以 UTF-8 儲存，檔案未寫入。"_s);
    EXPECT_FALSE(EncodeDocument(u"\xDE00"_s, FileEncoding::Utf8Bom, &error));
    // A byte of a Big5 file that was no character is named as the byte.
    EXPECT_FALSE(EncodeDocument(text::DecodeBig5("ab\xA4"), FileEncoding::Utf8, &error));
    EXPECT_EQ(error,
              u"第 1 行第 3 列是原檔中不成字的位元組 0xA4，無法以 UTF-8 儲存，檔案未寫入。"_s);
}

TEST(DocumentCodec, AKeptByteThatWouldPairWithANewNeighbourIsRefused)
{
    // A4 then "<" stays a kept byte; with the tag stripped it would meet "x"
    // and come back as the character A4 78.
    QString text = text::DecodeBig5("ok\n\xA4<b>x");
    ASSERT_EQ(EncodeDocument(text, FileEncoding::Big5, nullptr), QByteArray("ok\r\n\xA4<b>x"));
    text.remove(u"<b>"_s);
    QString error;
    EXPECT_FALSE(EncodeDocument(text, FileEncoding::Big5, &error));
    EXPECT_EQ(
        error,
        u"第 2 行第 1 列是原檔中不成字的位元組 0xA4，存成 Big5 會和後面的字合成另一個字，檔案未寫入。"_s);
    EXPECT_EQ(text::FirstUnencodable(text, FileEncoding::Big5), 3);
    // Its neighbour gone, at the end, it is written back alone.
    EXPECT_TRUE(EncodeDocument(text.chopped(1), FileEncoding::Big5, nullptr));
}

TEST(DocumentCodec, FiveMegabyteBig5DocumentComesBack)
{
    const QByteArray line =
        Big5(u"【中 文 化】繁體中文的測試文字，含 ASCII [b]tags[/b]。"_s) + "\r\n";
    QByteArray file;
    while (file.size() < 5 * 1024 * 1024) file += line;
    const text::DocumentText read = DecodeDocument(file);
    EXPECT_EQ(read.encoding, FileEncoding::Big5);
    EXPECT_EQ(read.text.count(u'\n'), file.count('\n'));
    EXPECT_EQ(Encode(read.text, read.encoding), file);
}

}  // namespace
