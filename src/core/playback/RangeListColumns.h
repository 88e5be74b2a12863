#pragma once
// The begin, end and length columns of a track's row in the track list as the
// panel's range edits refresh them: in a frame range the frame numbers and the
// number of frames between them, in a time range the times and the length in
// whole minutes and seconds.

#include <QString>

namespace kelbrin {

class cPozycjaMP3;

struct RangeColumns {
    QString begin;
    QString end;
    QString length;
};

RangeColumns TrackRangeColumns(const cPozycjaMP3& track);

} // namespace kelbrin
