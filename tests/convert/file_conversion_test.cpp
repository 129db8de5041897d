// The conversions run by the built program from the command line, with no
// display, held against the routines applied to the whole text.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "convert/chinese_script.h"
#include "convert/file_conversion.h"
#include "convert/html_strip.h"
#include "convert/post_export.h"
#include "convert/ybb_to_html.h"
#include "text/big5_codec.h"
#include "text/document_file.h"
#include "text/line_split.h"

using namespace Qt::StringLiterals;
using convert::FileConversion;

namespace {

QByteArray Big5(const QString& text)
{
    return text::EncodeBig5(text, text::Unencodable::Fail).bytes;
}

// What the window's command leaves in the editing area after opening the
// file, saved.
QByteArray Converted(const QByteArray& file, FileConversion conversion)
{
    const text::DocumentText document = text::DecodeDocument(file);
    QString result = conversion == FileConversion::YbbToHtml
                         ? convert::ConvertDocumentToHtmlPage(text::SplitLines(document.text))
                         : convert::StripHtmlTags(document.text);
    if (conversion == FileConversion::ScriptToHongKong)
        result =
            convert::ConvertScript(document.text, convert::ScriptConversion::SimplifiedToHongKong)
                .value();
    if (convert::IsExport(conversion)) {
        // As 編輯 > 複製為 copies it, the file's last line break kept.
        result = convert::ExportPost(document.text, conversion == FileConversion::ToMarkdown
                                                        ? convert::Dialect::Markdown
                                                        : convert::Dialect::Discuz)
                     .text;
        if (document.text.endsWith(u'\n')) result += u'\n';
    }
    return text::EncodeDocument(result, document.encoding, nullptr).value();
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

struct Finished {
    int status = -1;
    QByteArray out;
    QString err;
};

// The program with no display to reach: making a window-system connection
// would end it.
Finished RunProgram(const QStringList& arguments, const QByteArray& input, const QString& folder)
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(u"DISPLAY"_s);
    environment.remove(u"WAYLAND_DISPLAY"_s);
    environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(folder);
    program.start(QStringLiteral(QUILLPOST_PROGRAM), arguments);
    program.write(input);
    program.closeWriteChannel();
    if (!program.waitForFinished(30000)) return {};
    return {program.exitCode(), program.readAllStandardOutput(),
            QString::fromUtf8(program.readAllStandardError())};
}

TEST(FileConversion, TheProgramConvertsAsTheCommandsDo)
{
    QTemporaryDir folder;
    const auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return bytes;
    };
    const QString post = u"[b]公告[/b] [red] 他也 來[/red] \r\n[url=\"a.htm\"]<i>連結</i>[/url]"_s;
    const QByteArray big5 = write(u"big5.txt"_s, Big5(post) + "\xA4<b>");  // a kept byte
    const QByteArray bom = write(u"bom.txt"_s, "\xEF\xBB\xBF" + (post + u"😀\r\n"_s).toUtf8());
    const QByteArray utf8 = write(u"utf8.txt"_s, (u"一 [s]€[/s] <p\nalign=x>"_s).toUtf8());
    // Longer than a piece: a tag open across the pieces' seams, many closed
    // within their lines, and one never closed.
    QByteArray plain;
    for (int i = 0; i < 30000; ++i) plain += Big5(u"第 %1 行 [b]x[/b] y\n"_s.arg(i));
    QByteArray tagged;
    for (int i = 0; i < 30000; ++i) tagged += Big5(u"第 %1 行 <i>y</i> [i]x\n"_s.arg(i));
    const QByteArray longer =
        write(u"long.txt"_s, "<a\n" + plain + "> z\r\n" + tagged + "<end\r\n" + plain);
    write(u"old.html"_s, "old");
    const QString old = folder.filePath(u"old.html"_s);
    QFile::setPermissions(old, QFile::ReadOwner | QFile::WriteOwner);
    const QFile::Permissions mode = QFile::permissions(old);

    QString error, reason;
    text::ReadDocumentBytes(u"missing.txt"_s, &error, &reason);
    const QString cannotOpen = u"quillpost："_s + error + u'\n' + reason + u'\n';
    text::WriteDocumentBytes(u"no/such/folder.html"_s, "", &error, &reason);
    const QString cannotCreate = u"quillpost："_s + error + u'\n' + reason + u'\n';

    struct Case {
        QStringList arguments;
        QByteArray input;
        int status;
        QByteArray out;
        QString err;
    };
    const Case cases[] = {
        {{u"--to-html"_s, u"big5.txt"_s}, {}, 0, Converted(big5, FileConversion::YbbToHtml), {}},
        {{u"--to-text"_s, u"big5.txt"_s}, {}, 0, Converted(big5, FileConversion::HtmlToText), {}},
        {{u"--to-html"_s, u"bom.txt"_s}, {}, 0, Converted(bom, FileConversion::YbbToHtml), {}},
        {{u"--to-text"_s, u"utf8.txt"_s}, {}, 0, Converted(utf8, FileConversion::HtmlToText), {}},
        {{u"--to-html"_s, u"-"_s}, utf8, 0, Converted(utf8, FileConversion::YbbToHtml), {}},
        {{u"--to-text"_s, u"long.txt"_s}, {}, 0, Converted(longer, FileConversion::HtmlToText), {}},
        {{u"--to-html"_s, u"long.txt"_s}, {}, 0, Converted(longer, FileConversion::YbbToHtml), {}},
        {{u"--to-text"_s, u"bom.txt"_s, u"-o"_s, u"old.html"_s}, {}, 0, {}, {}},
        {{u"--to-html"_s, u"missing.txt"_s}, {}, 1, {}, cannotOpen},
        {{u"--to-html"_s, u"big5.txt"_s, u"-o"_s, u"no/such/folder.html"_s},
         {},
         1,
         {},
         cannotCreate},
        {{u"--to-markdown"_s, u"big5.txt"_s},
         {},
         0,
         Converted(big5, FileConversion::ToMarkdown),
         {}},
        {{u"--to-discuz"_s, u"-"_s}, utf8, 0, Converted(utf8, FileConversion::ToDiscuz), {}},
        {{u"--convert=s2hk"_s, u"bom.txt"_s},
         {},
         0,
         Converted(bom, FileConversion::ScriptToHongKong),
         {}},
        {{u"--to-bbcode"_s, u"a.txt"_s, u"--to-markdown"_s, u"b.txt"_s},
         {},
         2,
         {},
         u"quillpost：轉換的選項只能擇一。\n請執行「quillpost --help」查看用法。\n"_s},
        {{u"--to-html"_s, u"a.txt"_s, u"--to-text"_s, u"b.txt"_s},
         {},
         2,
         {},
         u"quillpost：--to-html 與 --to-text 只能擇一。\n請執行「quillpost --help」查看用法。\n"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        const Finished run = RunProgram(c.arguments, c.input, folder.path());
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, c.err);
    }
    // Written as Save writes: the result in place of the old file, its mode kept.
    EXPECT_EQ(ReadAll(old), Converted(bom, FileConversion::HtmlToText));
    EXPECT_EQ(QFile::permissions(old), mode);

    // A result refused far into a long file, after pieces of it have been
    // written: the old file stays, and nothing is left beside it.
    write(u"refused.txt"_s, plain + "\xA4<b>@\r\n");  // the kept byte would pair with "@"
    const QStringList before = QDir(folder.path()).entryList(QDir::Files);
    const Finished refused =
        RunProgram({u"--to-text"_s, u"refused.txt"_s, u"-o"_s, u"old.html"_s}, {}, folder.path());
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(ReadAll(old), Converted(bom, FileConversion::HtmlToText));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), before);
}

// A character the encoding cannot hold is named at its line and column in
// the whole result, however the text came in pieces.
TEST(FileConversion, RefusedCharacterIsNamedInTheWholeResult)
{
    struct Case {
        FileConversion conversion;
        QStringList pieces;
    };
    const Case cases[] = {
        {FileConversion::YbbToHtml, {u"好\n"_s, u"[b]😀"_s}},
        {FileConversion::HtmlToText, {u"x<a\n"_s, u"b>y😀\n"_s}},
    };
    for (const Case& c : cases) {
        const QString whole = c.pieces.join(QString());
        QString expected;
        text::EncodeDocument(c.conversion == FileConversion::YbbToHtml
                                 ? convert::ConvertDocumentToHtmlPage(text::SplitLines(whole))
                                 : convert::StripHtmlTags(whole),
                             text::FileEncoding::Big5, &expected);
        convert::DocumentConversion conversion(c.conversion, text::FileEncoding::Big5);
        QByteArray bytes;
        QString error;
        bool ok = true;
        for (const QString& piece : c.pieces) ok = ok && conversion.add(piece, bytes, &error);
        EXPECT_FALSE(ok && conversion.finish(bytes, &error));
        EXPECT_EQ(error, expected);
    }
}

}  // namespace
