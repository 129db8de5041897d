#pragma once

#include <QString>
#include <functional>

namespace platform {

// Finds the entry point `symbol` of one of the program's own modules, the
// libraries it loads on first use so that starting it loads none of their
// Qt parts. A program that links the module (the tests and benchmarks) has
// the entry already. Otherwise the module file `file` is looked for beside
// the program (the build tree), in lib/quillpost/modules of the prefix the
// program runs from, then in `configuredDir`. `beforeLoad`, when given, runs
// once a module is known to be there, before it is loaded.
//
// Throws std::runtime_error with a text for the user, headed `failure`, when
// no module file is found or none gives the entry. A loaded module is never
// unloaded.
void* LoadModuleEntry(const QString& file, const QString& configuredDir, const char* symbol,
                      const QString& failure, const std::function<void()>& beforeLoad = {});

}  // namespace platform
