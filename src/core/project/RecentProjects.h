#pragma once
// The recent-project list in the settings F1 (newest) to F4.

#include <QString>

namespace kelbrin {

// F4 takes F3, F3 takes F2, F2 takes F1, and F1 becomes path. The list is not
// searched first, so a path can stand in it twice.
void PushRecentProject(const QString& path);

// The tree root's name for a project file: its file name without ".kbe".
QString ProjectRootName(const QString& path);

} // namespace kelbrin
