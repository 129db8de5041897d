#pragma once

#include <QString>

namespace text {

// Where the program keeps copies of text that must survive a failure:
// $XDG_STATE_HOME/quillpost/recovery, or ~/.local/state/quillpost/recovery
// when that variable is unset or not an absolute path. The folder is not
// created here.
QString RecoveryFolder();

}  // namespace text
