#pragma once
// The end of a recording: every recorded file becomes a new track of the
// project through the split dialog, run at once. A file with a segment list
// beside it (speech marks) is cut by that list.

#include <QStringList>
#include <cstdint>

namespace kelbrin {

struct RecordingConfiguration;

class RecorderHost;

// The recorded file names the server reports, without folder: as a list, or
// as one text with a name per line.
QStringList RecordedNames(const QStringList& names);
QStringList RecordedNames(const QString& lines);

// Hands the files (names in the recording folder) to the split dialog, in
// order; `formatTag` is what they hold (85 MPEG Layer-3). Returns the full
// paths of those that became tracks.
QStringList HandOverRecordings(const RecordingConfiguration& recording, const QStringList& names, RecorderHost& host,
                               std::uint16_t formatTag);

} // namespace kelbrin
