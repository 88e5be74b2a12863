#pragma once
// The server's messages come from the editor's language file, in the language
// the editor uses.

namespace kelbrin {

// Loads Kelbrin.ini from beside the program (or the shared data folder) and
// picks the saved language, else the system's.
void LoadServerLanguage();

} // namespace kelbrin
