#pragma once
// Finding the sources a project or a script names: the file name of a stored
// path, and the open file a stored id belongs to.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>

namespace kelbrin {

class cPozycjaPlikow;
class cPozycjePlikow;

// The file name part of a stored path; paths written on other systems may use
// "\" between folders.
QString StoredFileName(const QString& path);

// `asRead` when that file exists. Otherwise the stored bytes of the path read
// in each code page the program writes in (and as UTF-8): the first reading
// that names an existing file, or `asRead` when none does. With a `folder`
// (ending in "/"), each reading's file name in that folder. A project written
// under another locale's code page finds its sources so.
// `*codePage` (when given) tells the code page the found file's name shows
// the bytes were written in: that of the reading which named it, `asRead`
// being the system code page's. It is 0 when no file was found, or when the
// bytes are ASCII or UTF-8, which show no code page.
QString ExistingSourcePath(const QByteArray& storedBytes, const QString& asRead,
                           const QString& folder = QString(), int* codePage = nullptr);

// The first open source file with this id; null when none has it.
std::shared_ptr<cPozycjaPlikow> FirstOpenFileWithId(const cPozycjePlikow& files, std::int32_t id);

} // namespace kelbrin
