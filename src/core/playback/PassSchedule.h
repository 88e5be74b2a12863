#pragma once
// How long the sequence player's pass may wait before it looks at a playing
// track again. A pass has work only at known moments: the end of the range,
// the successor's start, a loop's turn, a fade's steps and the time label's
// next second. Between them it would only read the same position and write
// the same text, and waking the event loop a hundred times a second costs
// the window thread more than playing costs the decoder.
#include <cstdint>

namespace kelbrin {

class cPozycjaMP3;

// What the pass read of a track's graph, and the settings it played with.
struct TrackAtPass {
    double cur = 0;  // graph position, seconds
    double stop = 0; // graph stop time
    double dur = 0;  // graph duration
    double rate = 1; // graph seconds per real second
    bool running = false;
    std::int32_t volume = 0; // the graph's volume after this pass's fades
    double lead = 0;         // OverTakeSeconds
    bool loops = false;      // the track loops into a track that exists
    bool oldAlgorithm = false;
};

// Real milliseconds, between `minMs` and `maxMs`, until the next moment at
// which a pass has something to do for this playing track. A moment that is
// due or passed, a ramping fade and a pending previous-track request give
// `minMs`; a graph that does not move gives `maxMs`.
std::int64_t QuietMs(const cPozycjaMP3& track, const TrackAtPass& at, std::int64_t minMs, std::int64_t maxMs);

} // namespace kelbrin
