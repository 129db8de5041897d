#include "text/recovery_folder.h"

#include <QDir>

namespace text {

QString RecoveryFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return QDir::cleanPath(state + QStringLiteral("/quillpost/recovery"));
}

}  // namespace text
