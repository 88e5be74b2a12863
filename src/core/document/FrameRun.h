#pragma once
// Frames that follow one another in a block of bytes: headers of one format
// (version, layer and sampling rate) each found where the one before it ends.
// A few of them in a row are MPEG audio; a lone header may be chance.

#include <cstdint>
#include <vector>

namespace kelbrin {

namespace mpeg {

// Version, layer and sampling rate of two headers (bytes 2 and 3) agree.
inline bool SameFormat(std::uint8_t a2, std::uint8_t a3, std::uint8_t b2, std::uint8_t b3) {
    return (a2 & 0x1E) == (b2 & 0x1E) && (a3 & 0x0C) == (b3 & 0x0C);
}

struct FrameRun {
    std::uint8_t byte2 = 0; // the first header's bytes 2 and 3
    std::uint8_t byte3 = 0;
    std::vector<int> bitrateIndexes; // one per frame of the run
};

// The run of `frames` chained frames whose first header is at data[at], or an
// empty run (no indexes) when there is none within the `size` bytes given.
// The next header may lie one byte early: rounding makes a computed length of
// Layers II and III one byte too long.
FrameRun RunAt(const std::uint8_t* data, std::int64_t size, std::int64_t at, int frames);

// The first run of `frames` frames starting at or after data[from].
FrameRun FirstRun(const std::uint8_t* data, std::int64_t size, std::int64_t from, int frames);

} // namespace mpeg

} // namespace kelbrin
