#pragma once
// The clone command turns a copy of the current track into the track that
// continues it: from where the track ends to the end of its source.

namespace kelbrin {

class cPozycjaMP3;
class cPozycjaPlikow;

// `copy` starts where it ended and ends at the end of `source` (the whole
// frame index when complete, else the scanned duration), its range held in
// times. A range held in frames ends at the playing time of its end frame.
// Without the source the end is the track's own dblDuration.
void ContinueClone(cPozycjaMP3& copy, const cPozycjaPlikow* source);

} // namespace kelbrin
