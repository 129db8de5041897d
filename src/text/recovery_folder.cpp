#include "text/recovery_folder.h"

#include <QDir>

using namespace Qt::Literals::StringLiterals;

namespace text {

QString RecoveryFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    // A relative XDG_STATE_HOME is to be ignored, as if unset.
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + u"/.local/state"_s;
    return QDir::cleanPath(state + u"/quillpost/recovery"_s);
}

}  // namespace text
