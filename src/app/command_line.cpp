#include "app/command_line.h"

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
    u"Quillpost 4.0：撰寫網路論壇文章（YBB 標記）的編輯器。\n"
    u"\n"
    u"選項：\n"
    u"  -h, --help     顯示這份說明後結束\n"
    u"  -v, --version  顯示版本後結束\n"
    u"\n"
    u"引數：\n"
    u"  檔案           啟動時開啟的文字檔（Big5 或 UTF-8）\n"_s;

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

}  // namespace

CommandLine ParseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{u"h"_s, u"help"_s});
    const QCommandLineOption version(QStringList{u"v"_s, u"version"_s});
    parser.addOption(help);
    parser.addOption(version);
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
    if (files.size() > 1) return UsageError(u"一次只能開啟一個檔案。"_s);
    CommandLine line;
    if (!files.isEmpty() && !files.first().isEmpty()) {
        QString path = files.first();
        // Some launchers pass a local file as an address.
        if (path.startsWith(u"file:"_s)) path = QUrl(path).toLocalFile();
        line.file = QDir::cleanPath(QDir::current().absoluteFilePath(path));
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
