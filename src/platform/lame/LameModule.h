#pragma once
// libmp3lame is reached through a module of its own (kelbrin-lame), loaded at
// the first call of the encoder, so that starting the editor maps no codec
// library: only a recording, its settings and the encoder server need it.

#include <QString>

namespace kelbrin {

class LameLibrary;

// The module's file name without its suffix.
inline const QString kLameModuleName = QStringLiteral("kelbrin-lame");
// The function the module exports: a new library, owned by the caller.
extern "C" using CreateLameLibraryFunction = LameLibrary* (*)();
inline constexpr char kCreateLameLibrarySymbol[] = "KelbrinCreateLameLibrary";

} // namespace kelbrin
