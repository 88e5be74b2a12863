#pragma once
// Which bytes of its source a track's range covers. A range in frames names
// the first frame written and the first frame not written; a range in times is
// turned into those frames by the one frames-from-seconds rule. Exact mode
// looks the frames up in the complete index; Turbo computes them from a
// constant frame length counted from the first frame and then moves each cut
// to the nearest real frame start. An end at or past the source's end, or an
// unset end, means the audio end: the whole last frame is kept.

#include "SaveRequest.h"

#include <cstdint>

namespace kelbrin {

class cPozycjaPlikow;
class SaveFrameLocator;

struct PieceBytes {
    std::int64_t start = 0; // 0-based, first byte written
    std::int64_t end = 0;   // 0-based, first byte not written
    bool empty() const { return end <= start; }
};

// The frame that a time falls in: trunc(t x rate / samples per frame).
std::int64_t FrameFromSeconds(const cPozycjaPlikow& file, double seconds);

// The Turbo frame length for the source.
std::int32_t TurboFrameLength(const cPozycjaPlikow& file, TurboLength choice);

// The track's own range names no frame (it ends where or before it starts):
// such a piece is skipped without a word. Any other piece that yields no byte
// could not be read.
bool RangeIsEmpty(const ExportPiece& piece, const cPozycjaPlikow& file);

// The track's range ends (or starts) more than a frame past the end of the
// source's index: the file has become shorter than the track, whose output
// will end where the file ends.
bool ReachesPastTheEnd(const ExportPiece& piece, const cPozycjaPlikow& file);

PieceBytes ExactPieceBytes(const ExportPiece& piece, const cPozycjaPlikow& file,
                           SaveFrameLocator& frames);
PieceBytes TurboPieceBytes(const ExportPiece& piece, const cPozycjaPlikow& file,
                           SaveFrameLocator& frames, std::int32_t frameLength);

} // namespace kelbrin
