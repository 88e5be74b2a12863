#pragma once
// The language of the encoder server's window: the editor's saved language
// when the language file has it, else the system's (1045 gives Polish).

#include <QString>

namespace kelbrin {

// Loads `languageFile` into the catalogue and sets the language; false when
// the file cannot be read (the catalogue then gives empty texts).
bool LoadServerCatalog(const QString& languageFile, int systemLangId);

} // namespace kelbrin
