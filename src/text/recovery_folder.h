#pragma once

#include <QString>

namespace text {

// Where the program keeps what must survive a crash or a failed save:
// "quillpost/recovery" under $XDG_STATE_HOME, or under ~/.local/state when
// that is unset, empty or not an absolute path. The folder is not created
// here.
QString RecoveryFolder();

}  // namespace text
