#include "text/recovery_folder.h"

#include <QDir>

using namespace Qt::Literals::StringLiterals;

namespace text {

QString RecoveryFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    // The base directory specification ignores relative paths.
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + u"/.local/state"_s;
    return QDir::cleanPath(state + u"/quillpost/recovery"_s);
}

}  // namespace text
