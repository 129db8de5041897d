#include <unistd.h>
#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "app/crash_recovery.h"
#include "app/form1.h"
#include "convert/preview_scheme.h"
#include "platform/clock.h"
#include "platform/keyboard_state.h"
#include "platform/prompts.h"

int main(int argc, char* argv[])
{
    // The preview's browser engine refuses to start its sandbox as root.
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    convert::RegisterPreviewScheme();
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillpost 4.0"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/quillpost.svg")));

    // The interface is Chinese whatever the user's locale, and so are Qt's
    // own dialogs and buttons, where the translations are installed.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_zh_TW"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    QtPrompts prompts;
    const auto keyboard = makeKeyboardState();
    const auto clock = makeSystemClock();
    TForm1 form(prompts, *keyboard, *clock);
    prompts.setParent(&form);
    CrashRecovery recovery(form, prompts);
    form.show();
    recovery.offerLeftCopies();
    return app.exec();
}
