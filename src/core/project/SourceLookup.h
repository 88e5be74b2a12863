#pragma once
// Finding the sources a project or a script names: the file name of a stored
// path, and the open file a stored id belongs to.

#include <QString>
#include <cstdint>
#include <memory>

namespace kelbrin {

class cPozycjaPlikow;
class cPozycjePlikow;

// The file name part of a stored path; paths written on other systems may use
// "\" between folders.
QString StoredFileName(const QString& path);

// The first open source file with this id; null when none has it.
std::shared_ptr<cPozycjaPlikow> FirstOpenFileWithId(const cPozycjePlikow& files, std::int32_t id);

} // namespace kelbrin
