#pragma once
// The first pass over a source file: reads the file's start in one go, skips an
// ID3v2 tag and looks for three frames in a row. The candidate after that run
// becomes the reference header that every frame of the main scan must match.

#include <cstdint>

namespace kelbrin {

class SourceReader;
class cPozycjaPlikow;

struct ProbeResult {
    bool found = false;
    bool readFailed = false;
    std::int64_t firstFramePosition = 0; // 1-based file position of the run's first frame
    std::uint8_t byte2 = 0;              // reference header bytes 2 and 3
    std::uint8_t byte3 = 0;
};

class FrameProbe {
public:
    static constexpr std::int64_t kProbeBytes = 140960;
    // Frames in a row that make a run; the next candidate is the reference.
    static constexpr int kRunLength = 3;
    // A candidate this far or farther from where the previous one predicted the
    // next frame breaks the run.
    static constexpr std::int64_t kRunTolerance = 5;

    // Stores every candidate's bytes 2 and 3 and its nominal length in the
    // record, so the record ends with the reference's (or, when no run is
    // found, the last candidate's).
    static ProbeResult Run(SourceReader& reader, cPozycjaPlikow& file);
};

} // namespace kelbrin
