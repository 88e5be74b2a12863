#pragma once
// The recording codecs over libavcodec are a module of their own
// (kelbrin-codecs), loaded at their first use, so that starting the editor
// maps neither libavcodec nor the many libraries it pulls in.

#include <QString>
#include <memory>

namespace kelbrin {

class CodecLibrary;

// The module's file name without its suffix.
inline const QString kCodecModuleName = QStringLiteral("kelbrin-codecs");
// The function the module exports: a new library, owned by the caller.
extern "C" using CreateCodecLibraryFunction = CodecLibrary* (*)();
inline constexpr char kCreateCodecLibrarySymbol[] = "KelbrinCreateCodecLibrary";

// Loads the module from beside the program (or the installed library folder)
// and makes its library; nullptr when the module is missing or broken.
std::unique_ptr<CodecLibrary> LoadCodecModule();

} // namespace kelbrin
