#pragma once
// Saves the open project as a project file (".kbe", version 1006), or, when
// the user picks that type in the save dialog, as a batch script (".kbs").
// The target is the project's current file (the checked recent item), a named
// project in the destination folder, or the file chosen in the dialog. The
// old file stays whole until the new one is completely written.

#include <QByteArray>
#include <QString>
#include <optional>

namespace kelbrin {

class ProjectWindow;

// updateRecent: after a project was written, put it first in the recent list.
// keepName: write to the current file without the dialog; cleared when the
//   user picked a file in the dialog.
// projectName: when not empty, the file is this name in the destination folder.
// True only when a project file was written.
bool Zapisz(ProjectWindow& window, bool updateRecent, bool& keepName, const QString& projectName);

// The bytes a project save would write now; nothing when there are more open
// files than the file can number.
std::optional<QByteArray> ProjectBytes(ProjectWindow& window);

} // namespace kelbrin
