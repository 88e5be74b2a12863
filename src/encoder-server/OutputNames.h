#pragma once
// Names of the recorder's output files: prefix, month and day, "__", hour,
// minutes and seconds ("R1208__14_05_33.mp3"). A name already taken in the
// recording folder, by the output or by its segment list, gets a counter
// ("R1208__14_05_33_2.mp3") so that no file is ever overwritten.

#include <QDateTime>
#include <QString>

namespace kelbrin {

// The name without extension for a file begun at `when`.
QString OutputBaseName(const QString& prefix, const QDateTime& when);

// The first of base, base_2, base_3, ... for which neither folder/name.ext nor
// (with a segment list) folder/name.tim exists. Returns the name without folder
// and without extension.
QString FreeOutputBaseName(const QString& folder, const QString& base, const QString& extension,
                           bool withSegmentList);

} // namespace kelbrin
