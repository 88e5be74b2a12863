#pragma once
// The texts of the files that put the program on a freedesktop desktop: the
// desktop entry, the shared-mime-info package and the icon. They are filled
// from templates kept with the program's resources.

#include <QByteArray>
#include <QString>

namespace kelbrin::xdg {

// A value of the desktop entry's string types, escaped (backslash, line
// breaks, tabs, a leading blank).
QString EscapeValue(const QString& value);
// One argument of an Exec key: quoted when it holds a reserved character
// (then the characters special inside the quotes are escaped), '%' doubled.
QString QuoteExecArgument(const QString& argument);
// The desktop entry of the launcher; the Path key only when `workingFolder`
// is not empty.
QString DesktopEntryText(const QString& title, const QString& program, const QString& workingFolder);
// The MIME package with the project and script types and their descriptions.
QString MimePackageText(const QString& projectType, const QString& scriptType);
// The program's icon (SVG).
QByteArray IconSvg();

} // namespace kelbrin::xdg
