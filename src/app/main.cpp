#include <unistd.h>
#include <QApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QStyle>
#include <QTranslator>

#include "app/command_line.h"
#include "app/crash_recovery.h"
#include "app/form1/form1.h"
#include "look/app_style.h"
#include "look/program_icon.h"
#include "platform/clock.h"
#include "platform/display_platform.h"
#include "platform/keyboard_state.h"
#include "platform/prompts.h"

int main(int argc, char* argv[])
{
    const CommandLine commandLine = ParseCommandLine(ArgumentsOf(argc, argv));
    if (commandLine.exitStatus) return PrintAndExit(commandLine);
    if (commandLine.conversion) {
        if (!convert::IsExport(*commandLine.conversion)) return RunConversion(commandLine);
        // Qt's HTML import needs the application's fonts, and no display.
        // What Qt says of the post's HTML (a colour it does not know) is no
        // failure of the command: the terminal hears only the command's own.
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication fonts(argc, argv);
        return RunConversion(commandLine);
    }

    // The preview's browser engine refuses to start its sandbox as root.
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // Asked for in the environment only while Qt reads it: a program started
    // from here (a browser for a link) chooses for itself.
    const std::optional<QByteArray> platformAsked =
        platform::PreferredPlatform(platform::CurrentDisplaySession(ArgumentsOf(argc, argv)));
    if (platformAsked) qputenv("QT_QPA_PLATFORM", *platformAsked);
    // No Qt::AA_ShareOpenGLContexts here: it would load the OpenGL stack
    // into every run; the preview makes the shared context when it starts.
    QApplication app(argc, argv);
    if (platformAsked) qunsetenv("QT_QPA_PLATFORM");
    QApplication::setApplicationName(QStringLiteral("Quillpost 4.0"));
    if (QStyle* style = look::MakeApplicationStyle()) QApplication::setStyle(style);
    QApplication::setWindowIcon(look::ProgramIcon());
    // Lets taskbars and docks match the window with its menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quillpost.Quillpost"));

    // The interface is Chinese whatever the user's locale, and so are Qt's
    // own dialogs and buttons, where the translations are installed.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_zh_TW"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    platform::QtPrompts prompts;
    const auto keyboard = platform::MakeKeyboardState();
    const auto clock = platform::MakeSystemClock();
    TForm1 form(prompts, *keyboard, *clock);
    prompts.setParent(&form);
    form.restoreSettings();
    CrashRecovery recovery(form, prompts, clock.get());
    form.show();
    recovery.offerLeftCopies();
    // After a restored copy, the file given is opened only when the user
    // agrees to set the restored text aside.
    if (commandLine.file) form.openDocumentAsking(*commandLine.file);
    return app.exec();
}
