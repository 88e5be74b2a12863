#pragma once
// Output file names that come from a project or a batch script are joined to
// the destination folder by the export, so they must stay one plain name in
// that folder.

#include <QString>

namespace kelbrin {

// The name without "/", "\", ":", NUL and other control characters.
QString CleanOutputName(const QString& name);

// False for a name that cannot name a file of its own in a folder: empty,
// "." or "..".
bool IsUsableOutputName(const QString& cleanedName);

// The file name an export gives a track named after its label: the label
// cleaned as an output name, without the leading dots and blanks that would
// hide it, with ".mp3" added. A label that leaves nothing usable gives the
// track's output name instead.
QString LabelFileName(const QString& label, const QString& outputName);

} // namespace kelbrin
