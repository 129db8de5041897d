#include "platform/module_loader.h"

#include <dlfcn.h>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>
#include <QStringList>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace platform {

void* LoadModuleEntry(const QString& file, const QString& configuredDir, const char* symbol,
                      const QString& failure, const std::function<void()>& beforeLoad)
{
    if (void* const linked = dlsym(RTLD_DEFAULT, symbol)) {
        if (beforeLoad) beforeLoad();
        return linked;
    }
    const QString programDir = QCoreApplication::applicationDirPath();
    QStringList found;
    for (const QString& path :
         {programDir + u'/' + file, programDir + u"/../"_s + QUILLPOST_MODULE_DIR + u'/' + file,
          configuredDir + u'/' + file})
        if (QFileInfo::exists(path)) found.append(path);
    if (found.isEmpty()) throw std::runtime_error((failure + u"\n找不到 "_s + file).toStdString());
    if (beforeLoad) beforeLoad();
    QString failures;
    for (const QString& path : found) {
        QLibrary module(path);
        if (void* const entry = reinterpret_cast<void*>(module.resolve(symbol))) return entry;
        failures += u"\n"_s + module.errorString();
    }
    throw std::runtime_error((failure + failures).toStdString());
}

}  // namespace platform
