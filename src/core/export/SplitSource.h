#pragma once
// The open source file behind a split and the lengths taken from it.

#include <QString>
#include <memory>

namespace kelbrin {

class cPozycjaMP3;
class cPozycjaPlikow;
struct EditorSession;

// The open file with exactly this path (first match), or nothing.
std::shared_ptr<cPozycjaPlikow> FindOpenFile(const EditorSession& session, const QString& path);

// The length a split cuts: the playing time of the frame index for a
// variable-bit-rate file that has one, else the scanned duration; to the
// nearest millisecond.
double SourceDuration(const cPozycjaPlikow& file);

// The length of the whole source as a continuation runs to: the complete
// frame index when there is one, else the scanned duration; to the nearest
// millisecond.
double FullSourceLength(const cPozycjaPlikow& file);

// Where a track ends, in seconds, whether its range is held in times or in
// frames (a frame range needs its source to time the frames).
double TrackEndSeconds(const cPozycjaMP3& track, const cPozycjaPlikow* source);

} // namespace kelbrin
