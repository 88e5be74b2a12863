#include "ModuleLoader.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>

namespace kelbrin {

ModuleFunction ResolveModuleFunction(const QString& name, const char* symbol) {
    const QString folder = QCoreApplication::applicationDirPath();
    ModuleFunction found;
    for (const QString& path : {folder + QLatin1Char('/') + name, folder + QStringLiteral("/../lib/kelbrin/") + name}) {
        auto* module = new QLibrary(path);
        found.function = module->resolve(symbol);
        if (found.function)
            return found;
        if (found.failure.isEmpty() && QFileInfo::exists(path + QStringLiteral(".so")))
            found.failure = module->errorString();
        delete module;
    }
    return found;
}

} // namespace kelbrin
