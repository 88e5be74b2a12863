#pragma once
// Name and path procedures, the unique track name and the time rescaling that
// many windows share.

#include <QString>
#include <QStringList>

namespace kelbrin {

// The text before the last '.' of the file name part; a dot inside a folder
// name is not an extension.
QString StripExtension(const QString& name);
// The text after the last '/', or the whole text when there is none.
QString FileNameFromPath(const QString& path);
// A folder with one '/' at its end.
QString WithTrailingSlash(QString folder);

// The full paths of an open dialog's answer: one path up to the first NUL, or
// for several files the folder, NUL, then each name ended by NUL. A name is
// joined to its folder with one '/', also when the folder is the root.
// `folder` receives the folder the files were chosen in.
QStringList PathsFromFileChoice(const QString& answer, QString* folder = nullptr);

// `name`, numbered so that tracks cut from one source stay apart: with
// `sameSourceCount` tracks of the source already present, n = count + 1 and
// the name gets "(n)" when n >= 2. Only a trailing "(digits)" counts as an
// earlier number and is replaced; "Song (live)" keeps its brackets.
QString UniqueTrackName(const QString& name, int sameSourceCount);

// Between a track's own time (from its frame index) and its player's time.
// Both return t unchanged when the rescaling is switched off (`oldAlgorithm`,
// the UseOldAlgorithm setting).
double RescaleFromPlayerTime(double t, double itemDuration, double playerDuration,
                             bool oldAlgorithm);
double RescaleToPlayerTime(double t, double itemDuration, double playerDuration, bool oldAlgorithm);

} // namespace kelbrin
