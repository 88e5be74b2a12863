#pragma once
// The programs' own modules (kelbrin-media, kelbrin-lame, kelbrin-codecs,
// kelbrin-net) are loaded at their first use, so a start maps none of the
// libraries behind them. A module is looked for beside the program, then in
// the installed library folder (<prefix>/lib/kelbrin).

#include <QFunctionPointer>
#include <QString>

namespace kelbrin {

struct ModuleFunction {
    QFunctionPointer function = nullptr;
    // Why a module that is there would not load; empty when none is there.
    QString failure;
};

// Loads the module `name` (its file name without the suffix) and finds its
// exported `symbol`. A module found stays loaded for the life of the program:
// what it hands out runs its code.
ModuleFunction ResolveModuleFunction(const QString& name, const char* symbol);

} // namespace kelbrin
