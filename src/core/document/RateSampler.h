#pragma once
// Whether a source whose first frames share one bit rate really has a
// constant one. A recording that starts with silence, or two files joined
// together, keep one rate for many frames and then change it: frames sampled
// across the whole audio tell, and so does an Xing or VBRI header in the first
// frame. The samples also notice frames of another version, layer or sampling
// rate, which the scan cannot index.

#include <cstdint>

namespace kelbrin {

class SourceReader;

struct RateSample {
    bool variable = false;    // a VBR header, or frames of another bit rate
    bool otherFormat = false; // frames of another version, layer or sampling rate
    bool readFailed = false;
};

// True when the frame starting at frame[0] carries an Xing or VBRI header (an
// "Info" header marks a constant bit rate and does not count).
bool CarriesVbrHeader(const std::uint8_t* frame, std::int64_t size);

class RateSampler {
public:
    static constexpr int kSamples = 64;
    static constexpr std::int64_t kWindowBytes = 16384;
    // Frames in a row that count as audio in a window.
    static constexpr int kRunFrames = 3;

    // firstFrame: 1-based position of the first frame; audioEnd: bytes of
    // audio from the file's start; reference2/3: the reference header.
    static RateSample Run(SourceReader& reader, std::int64_t firstFrame, std::int64_t audioEnd,
                          std::uint8_t reference2, std::uint8_t reference3);
};

} // namespace kelbrin
