#pragma once
// Facts about the running system that start-up and the folder defaults need.

#include <QString>

namespace kelbrin {

namespace SystemInfo {
// The system's default language as a Windows language id (1045 Polish,
// 1033 English, ...), derived from the locale.
int DefaultLangId();
// The language id of a locale name such as "pl_PL".
int LangIdForLocale(const QString& localeName);
// The folder for the temporary capture buffer, with a trailing '/'.
QString TempFolder();
// The user's music folder, or the home folder when there is none; no trailing '/'.
QString UserMediaFolder();
} // namespace SystemInfo

} // namespace kelbrin
