#pragma once
// "/RegServer": the session bus's activation file for the server's name,
// $XDG_DATA_HOME/dbus-1/services/<name>.service, pointing at the program
// that wrote it. The bus then starts the server when the editor asks for it.

#include <QString>

namespace kelbrin {

// Where the activation file goes for this user.
QString ActivationFilePath();
// The file's text for a program.
QString ActivationFileText(const QString& programPath);
// Writes the file (replacing an older one); false when it cannot.
bool WriteActivationFile(const QString& programPath, QString* error = nullptr);

} // namespace kelbrin
