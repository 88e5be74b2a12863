#pragma once
// Qt's own texts (the buttons of every message box, the file dialogs, the
// edit menus of text boxes) follow the program's language: the translation
// that the system's Qt ships for it is installed, or none for English.

#include <QString>

namespace kelbrin {

// The Qt locale code of a catalogue language ("POLSKI" -> "pl"); empty for
// English and for languages Qt has no translation of here.
QString QtLanguageCode(const QString& language);

// Installs Qt's translation for `language` in place of the one installed
// before; nothing without an application object.
void UseQtTexts(const QString& language);

} // namespace kelbrin
