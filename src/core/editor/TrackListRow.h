#pragma once
// What the track list shows of a track: whether it has a row at all, and the
// texts of its six columns.

#include <QStringList>

namespace kelbrin {

class cPozycjaMP3;

// A track has a row only while its source file exists on disk.
bool HasListRow(const cPozycjaMP3& track);

// Label; begin and end (a time range as minutes:seconds:milliseconds without
// padding, "1:15:600"; a frame range as the frame numbers); the length, from
// the time fields whatever the range's unit, rounded to whole seconds and
// written "minutes : seconds"; the source's file name; the output name.
QStringList TrackListRowTexts(const cPozycjaMP3& track);

} // namespace kelbrin
