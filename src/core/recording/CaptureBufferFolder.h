#pragma once
// Where the capture buffer file lies. The buffer holds the raw sound of the
// recording, so it belongs to the user alone: a folder that every user may
// write in (the system's temporary folder, the old default) is replaced by the
// user's own folder under $XDG_RUNTIME_DIR (else under the cache folder),
// readable by the user only. A buffer left behind by an editor that was killed
// is removed at the next start, unless it holds sound the server never
// encoded; that one, like one a recording keeps for the user because its
// server stopped answering, is renamed, so nothing removes it.

#include <QString>
#include <QStringList>

namespace kelbrin {

struct RecordingConfiguration;

// The user's own buffer folder, created readable by the user only; with a
// trailing '/'. Empty when it cannot be made.
QString PrivateBufferFolder();
// Where that folder lies, made or not; empty when the system names no place for it.
QString PrivateBufferFolderPath();

// Makes TempRecordFolder the user's own folder when it is empty, a folder
// others may write in, or gone and not to be made again, and notes the folder
// it stands in for in RefusedBufferFolder; the setting TempRecDir stays as the
// user chose it. Returns the folder.
QString SettleBufferFolder(RecordingConfiguration& recording);

// Settles the folder and removes the buffer files ("Bufor<device>.tmp") lying
// in it. When the store says the last recording left blocks its server never
// encoded, a buffer file that is not empty is kept instead (KeepBufferFile);
// returns the paths of the files kept. Called once at start, before any
// recording.
QStringList RemoveStaleBuffers(RecordingConfiguration& recording);

// Keeps the sound of the buffer file `name` in `folder` that the server never
// encoded, under a name of its own that neither the next recording nor the
// next start removes ("Bufor-1 kept 20240307-141500.tmp"), and removes the
// buffer file. Returns the path of the kept file (the old one when nothing
// could be kept apart).
QString KeepBufferFile(const QString& folder, const QString& name);

} // namespace kelbrin
