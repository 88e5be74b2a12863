#include "ModuleLoader.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>

#include <memory>
#include <vector>

namespace kelbrin {

ModuleFunction ResolveModuleFunction(const QString& name, const char* symbol) {
    // The modules found, kept for the life of the program (a QLibrary does
    // not unload when it goes; keeping it says the module stays on purpose).
    static std::vector<std::unique_ptr<QLibrary>> loaded;
    const QString folder = QCoreApplication::applicationDirPath();
    ModuleFunction found;
    for (const QString& path : {folder + QLatin1Char('/') + name, folder + QStringLiteral("/../lib/kelbrin/") + name}) {
        auto module = std::make_unique<QLibrary>(path);
        found.function = module->resolve(symbol);
        if (found.function) {
            loaded.push_back(std::move(module));
            return found;
        }
        if (found.failure.isEmpty() && QFileInfo::exists(path + QStringLiteral(".so")))
            found.failure = module->errorString();
    }
    return found;
}

} // namespace kelbrin
