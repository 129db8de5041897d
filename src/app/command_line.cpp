#include "app/command_line.h"

#include "convert/chinese_script.h"

#include <QCommandLineParser>
#include <QDir>
#include <QUrl>
#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

// Usage mistakes exit with 2, as command-line tools do.
constexpr int kUsageStatus = 2;

const QString kHelp =
    u"用法：quillpost [選項] [檔案]\n"
    u"      quillpost --to-html 檔案 [-o 輸出檔]\n"
    u"      quillpost --to-text 檔案 [-o 輸出檔]\n"
    u"      quillpost --to-bbcode|--to-discuz|--to-markdown 檔案 [-o 輸出檔]\n"
    u"      quillpost --convert=s2twp|s2hk|t2s|t2tw 檔案 [-o 輸出檔]\n"
    u"Quillpost 4.0：撰寫網路論壇文章（YBB 標記）的編輯器。\n"
    u"\n"
    u"選項：\n"
    u"  -h, --help        顯示這份說明後結束\n"
    u"  -v, --version     顯示版本後結束\n"
    u"  --to-html 檔案    不開視窗，把檔案做「( YBB )->( HTML )」轉換，寫到標準輸出\n"
    u"  --to-text 檔案    不開視窗，把檔案做「(HTML)->(純文字)」轉換，寫到標準輸出\n"
    u"  --to-bbcode 檔案  不開視窗，把文章寫成 BBCode（phpBB 等），寫到標準輸出\n"
    u"  --to-discuz 檔案  不開視窗，把文章寫成 Discuz! 的標籤，寫到標準輸出\n"
    u"  --to-markdown 檔案 不開視窗，把文章寫成 Markdown，寫到標準輸出\n"
    u"  --convert=轉換 檔案 不開視窗，把標籤以外的文字做簡繁轉換（s2twp：簡體→繁體臺灣用語，\n"
    u"                    s2hk：簡體→繁體香港，t2s：繁體→簡體，t2tw：繁體→臺灣正體），\n"
    u"                    寫到標準輸出\n"
    u"  -o 輸出檔         轉換結果寫入輸出檔，而不是標準輸出\n"
    u"\n"
    u"引數：\n"
    u"  檔案              啟動時開啟的文字檔（Big5 或 UTF-8）；轉換時「-」代表標準輸入\n"_s;

const QString kVersion = u"Quillpost 4.0 版\n"_s;

CommandLine Exit(int status, const QString& output, bool toStandardError)
{
    CommandLine line;
    line.exitStatus = status;
    line.output = output;
    line.toStandardError = toStandardError;
    return line;
}

CommandLine UsageError(const QString& problem)
{
    return Exit(kUsageStatus,
                u"quillpost：%1\n請執行「quillpost --help」查看用法。\n"_s.arg(problem), true);
}

// An argument is an address only in the form "scheme://…", as launchers pass
// files; anything else is a file name, whatever characters it holds
// ("file:notes.txt" too). Nothing for an address of no local file.
std::optional<QString> LocalPath(const QString& argument)
{
    const qsizetype colon = argument.indexOf(u"://"_s);
    bool scheme = colon > 0 && argument.front().isLetter();
    for (qsizetype i = 0; scheme && i < colon; ++i) {
        const char16_t c = argument[i].unicode();
        scheme = c < 0x80 && (QChar::isLetterOrNumber(c) || c == u'+' || c == u'-' || c == u'.');
    }
    if (!scheme) return argument;
    const QUrl url(argument);
    if (!url.isLocalFile()) return std::nullopt;
    return url.toLocalFile();
}

CommandLine NotLocal(const QString& argument)
{
    return UsageError(u"「%1」不是本機檔案。"_s.arg(argument));
}

}  // namespace

CommandLine ParseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{u"h"_s, u"help"_s});
    const QCommandLineOption version(QStringList{u"v"_s, u"version"_s});
    const QCommandLineOption toHtml(u"to-html"_s, QString(), u"file"_s);
    const QCommandLineOption toText(u"to-text"_s, QString(), u"file"_s);
    const QCommandLineOption toBBCode(u"to-bbcode"_s, QString(), u"file"_s);
    const QCommandLineOption toDiscuz(u"to-discuz"_s, QString(), u"file"_s);
    const QCommandLineOption toMarkdown(u"to-markdown"_s, QString(), u"file"_s);
    const QCommandLineOption output(u"o"_s, QString(), u"file"_s);
    const QCommandLineOption script(u"convert"_s, QString(), u"name"_s);
    const std::pair<const QCommandLineOption*, convert::FileConversion> kinds[] = {
        {&toHtml, convert::FileConversion::YbbToHtml},
        {&toText, convert::FileConversion::HtmlToText},
        {&toBBCode, convert::FileConversion::ToBBCode},
        {&toDiscuz, convert::FileConversion::ToDiscuz},
        {&toMarkdown, convert::FileConversion::ToMarkdown},
    };
    for (const QCommandLineOption& option : {help, version, output, script})
        parser.addOption(option);
    for (const auto& [option, kind] : kinds) parser.addOption(*option);
    // Qt's application object takes these out of the arguments itself.
    for (const QString& name :
         {u"platform"_s, u"platformpluginpath"_s, u"platformtheme"_s, u"plugin"_s, u"display"_s,
          u"style"_s, u"stylesheet"_s, u"session"_s, u"name"_s, u"title"_s, u"geometry"_s,
          u"qwindowgeometry"_s, u"qwindowicon"_s, u"qwindowtitle"_s})
        parser.addOption(QCommandLineOption(name, QString(), u"value"_s));
    for (const QString& name : {u"reverse"_s, u"sync"_s, u"nograb"_s, u"dograb"_s})
        parser.addOption(QCommandLineOption(QStringList(name)));

    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            const QString dashes = unknown.first().size() == 1 ? u"-"_s : u"--"_s;
            return UsageError(u"不明的選項「%1%2」。"_s.arg(dashes, unknown.first()));
        }
        return UsageError(u"選項缺少值，或給了不需要的值。"_s);
    }
    if (parser.isSet(help)) return Exit(0, kHelp, false);
    if (parser.isSet(version)) return Exit(0, kVersion, false);

    const QStringList files = parser.positionalArguments();
    CommandLine line;
    QStringList conversions;
    int kindsSet = 0;
    for (const auto& [option, kind] : kinds) {
        conversions += parser.values(*option);
        if (parser.isSet(*option)) {
            ++kindsSet;
            line.conversion = kind;
        }
    }
    if (parser.isSet(script)) {
        // The file is the one argument; which conversion, the option's value.
        const QStringList names = parser.values(script);
        const auto chosen = convert::ScriptConversionNamed(names.constLast());
        if (!chosen) return UsageError(u"不明的簡繁轉換「%1」。"_s.arg(names.constLast()));
        if (kindsSet > 0) return UsageError(u"轉換的選項只能擇一。"_s);
        if (files.size() != 1 || names.size() > 1 || parser.values(output).size() > 1)
            return UsageError(u"一次只能轉換一個檔案。"_s);
        const convert::FileConversion byScript[] = {
            convert::FileConversion::ScriptToTaiwan, convert::FileConversion::ScriptToHongKong,
            convert::FileConversion::ScriptToSimplified,
            convert::FileConversion::ScriptToTaiwanStandard};
        line.conversion = byScript[int(*chosen)];
        conversions = files;
        kindsSet = 1;
    } else if (!conversions.isEmpty() && !files.isEmpty()) {
        return UsageError(u"一次只能轉換一個檔案。"_s);
    }
    if (!conversions.isEmpty()) {
        if (kindsSet == 2 && parser.isSet(toHtml) && parser.isSet(toText))
            return UsageError(u"--to-html 與 --to-text 只能擇一。"_s);
        if (kindsSet > 1) return UsageError(u"轉換的選項只能擇一。"_s);
        if (conversions.size() > 1 || parser.values(output).size() > 1)
            return UsageError(u"一次只能轉換一個檔案。"_s);
        const QString& input = conversions.first();
        const std::optional<QString> path = input == u"-"_s ? input : LocalPath(input);
        if (!path) return NotLocal(input);
        line.inputFile = *path;
        line.outputFile = parser.isSet(output) ? parser.value(output) : u"-"_s;
        return line;
    }
    if (parser.isSet(output)) return UsageError(u"-o 只用於轉換（--to-html 等）。"_s);
    if (files.size() > 1) return UsageError(u"一次只能開啟一個檔案。"_s);
    if (!files.isEmpty() && !files.first().isEmpty()) {
        const std::optional<QString> path = LocalPath(files.first());
        if (!path) return NotLocal(files.first());
        line.file = QDir::cleanPath(QDir::current().absoluteFilePath(*path));
    }
    return line;
}

QStringList ArgumentsOf(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

int PrintAndExit(const CommandLine& line)
{
    const QByteArray bytes = line.output.toUtf8();
    std::FILE* stream = line.toStandardError ? stderr : stdout;
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
    return line.exitStatus.value_or(0);
}

int RunConversion(const CommandLine& line)
{
    QString error;
    QString reason;
    if (convert::ConvertFile(*line.conversion, line.inputFile, line.outputFile, &error, &reason))
        return 0;
    CommandLine failure;
    failure.exitStatus = 1;
    failure.output = u"quillpost："_s + error + u'\n';
    if (!reason.isEmpty()) failure.output += reason + u'\n';
    failure.toStandardError = true;
    return PrintAndExit(failure);
}
