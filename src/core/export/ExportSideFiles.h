#pragma once
// The files written beside the outputs when an export has finished: the CUE
// sheet "cdr.cue" and the playlist, which is then handed to the player the
// desktop associates with it. Both go into the destination folder and are
// written whole (a temporary file renamed over the old one): a name that is a
// link is replaced by the new file, and what it led to stays as it was.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace kelbrin {

class CueSheetWriter;

// The playlist's name: the program's name with ".m3u".
QString PlaylistFileName();
// Where each side file goes in the folder.
QString CueSheetPath(const QString& folder);
QString PlaylistPath(const QString& folder);

// "cdr.cue" in the folder, in UTF-8: its FILE lines hold the outputs' paths
// as the file system names them. Returns its path, or "" after reporting a
// failure.
QString WriteCueSheet(const QString& folder, const CueSheetWriter& sheet);

// The playlist of the outputs written (in UTF-8, like the CUE sheet), handed
// to the desktop's player for it.
// Nothing is written when the last output is not on disk. Returns its path,
// or "" when none was written (a failure is reported).
QString WritePlaylist(const QString& folder, const QStringList& outputs);

} // namespace kelbrin
