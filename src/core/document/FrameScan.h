#pragma once
// The main pass over a source file: walks from the first frame the probe found,
// frame by frame, accepting only headers that match the reference, and either
// checks that the bit rate stays constant or appends every frame to the index.
// A bit-rate change turns the check into a full indexing run.

#include <array>
#include <cstdint>

namespace kelbrin {

class SourceReader;
class cPozycjaPlikow;
class FrameScanHost;

struct FrameScanRequest {
    std::int64_t firstFrame = 0; // 1-based position of the probe's first frame
    std::uint8_t reference2 = 0; // reference header bytes 2 and 3
    std::uint8_t reference3 = 0;
    std::int64_t audioEnd = 0;    // bytes of audio: the file size, less an ID3v1 tag
    bool trackGiven = false;      // a track's range limits the build
    std::int32_t neededFrame = 0; // 0 = no limit
    std::int64_t neededPosition = 0;
    // Take every frame through the general checks, one position at a time,
    // instead of striding through runs of regular frames (the two walks give
    // the same result; tests compare them).
    bool frameByFrame = false;
};

enum class FrameScanOutcome {
    Complete, // walked to the scan end
    Partial,  // stopped once the track's range was covered
    Stopped,  // the host's stop flag was set
    ReadFailed,
    Shrunk, // the file got shorter under the walk: frames indexed may lie past its end
};

struct FrameScanResult {
    FrameScanOutcome outcome = FrameScanOutcome::Complete;
    bool paddedFrameSeen = false;
    // 1-based position where frames of another version, layer or sampling
    // rate begin; the walk ends there (0: no such change).
    std::int64_t formatChangeAt = 0;
};

class FrameScan {
public:
    // Frame lengths this far apart from the first frame are enough to tell a
    // constant bit rate.
    static constexpr std::int64_t kConstantRateCheckFrames = 10;
    static constexpr std::int64_t kReadsPerProgress = 1000;
    static constexpr int kRejectionsForSearchColour = 4;
    static constexpr int kFramesForFrameColour = 20;
    // How many frames ahead of the walk the next headers are asked for.
    static constexpr int kPrefetchFrames = 8;

    FrameScan(SourceReader& reader, cPozycjaPlikow& file, FrameScanHost& host,
              const FrameScanRequest& request);

    // `buildIndex` in: append every frame (the caller sets it for a file known
    // to vary); out: true also when the walk found a variable bit rate.
    FrameScanResult Run(bool& buildIndex);

private:
    enum class Pass { Done, Restart };
    // What the walk does after one step: go on, end complete, end with the
    // outcome already set, or start again as an indexing run.
    enum class Flow { Go, End, Done, Restart };
    // Where a walk stands.
    struct Walk {
        bool building = false;        // every frame goes into the index
        std::int64_t pos = 0;         // 1-based position read next
        std::int64_t scanEnd = 0;     // the last position the walk reads
        std::int64_t lastIndexed = 0; // frames up to here are in the index already
        std::int32_t previousBitrate = 0;
    };
    // A stride through regular frames: where it stopped and what it took.
    struct Stride {
        const std::uint8_t* next = nullptr; // the first byte not taken
        std::int64_t reads = 0;
        std::int64_t frames = 0;
        std::int64_t lastPosition = 0; // of the last frame taken, 0 for none
        bool padded = false;           // a padded frame was taken
    };

    Pass walk(bool& buildIndex, FrameScanResult& result);
    Walk startWalk(bool building) const;
    Flow step(Walk& w, bool& buildIndex, FrameScanResult& result);
    Flow rejectPosition(Walk& w, std::int64_t buffered, FrameScanResult& result);
    void skipToNextSync(Walk& w, const std::uint8_t* h, std::int64_t buffered);
    Flow takeHeader(Walk& w, const std::uint8_t* h, bool& buildIndex, FrameScanResult& result);
    bool wholeFrameAt(std::int64_t offset, std::int32_t length, std::uint8_t byte2) const;
    Flow recordFrame(Walk& w, const std::uint8_t* header, FrameScanResult& result);
    void advance(Walk& w, std::int32_t length, FrameScanResult& result);
    static Flow stop(FrameScanResult& result, FrameScanOutcome outcome) {
        result.outcome = outcome;
        return Flow::Done;
    }

    void walkRegularFrames(Walk& w, FrameScanResult& result);
    bool mayStride(const Walk& w) const;
    std::int64_t lastStrideOffset(std::int64_t start, std::int64_t scanEnd) const;
    Stride stride(const std::uint8_t* from, const std::uint8_t* stop, std::int64_t start,
                  const Walk& w);
    void fillStrideTable(std::uint8_t reference2);
    std::uint32_t strideBase(std::int32_t bitrate) const;
    bool matchesReference(const std::uint8_t* header) const {
        // Sync, the reference's version and layer, a bit-rate index of 1-14
        // (free format has no length to walk by) and the reference's sampling rate.
        const int bitrateIndex = header[2] >> 4;
        return header[0] == 0xFF && (header[1] & 0xFE) == m_syncVersionLayer &&
               (header[2] & 0x0C) == m_sampling && bitrateIndex != 0 && bitrateIndex != 15;
    }
    bool followedByFrame(std::int64_t offset, std::int32_t length);
    bool otherFormatBegins(std::int64_t offset);
    bool rangeCovered() const;
    void countReads(std::int64_t reads, std::int64_t position);
    void reject(std::int64_t count);
    void setColour(std::uint32_t colour);

    SourceReader& m_reader;
    cPozycjaPlikow& m_file;
    FrameScanHost& m_host;
    FrameScanRequest m_request;
    // Length and bit rate by bit-rate index and padding bit, for the reference's
    // version, layer and sampling rate.
    std::array<std::array<std::int32_t, 2>, 16> m_lengths{};
    std::array<std::int32_t, 16> m_bitrates{};
    // By header byte 3 of a frame a stride takes: how far the general loop's
    // next read lies (the walking length less one) in the low 16 bits, and
    // how far the next header should lie above them (one byte further when the
    // length is exact, not rounded up). 0 for a frame that ends a stride: no
    // length to walk by, or one too short for a run (the general loop treats
    // those apart).
    std::array<std::uint32_t, 256> m_strideSteps{};
    // Bytes per read of the last stride, to tell where the next one should end.
    std::int64_t m_bytesPerRead = 0;
    // Header byte 2 without its protection bit, and the sampling bits of byte 3,
    // that a frame must share with the reference.
    std::uint8_t m_syncVersionLayer = 0;
    std::uint8_t m_sampling = 0;
    std::int32_t m_longest = 0; // the longest of m_lengths
    std::int64_t m_reads = 0;
    std::int64_t m_rejections = 0;
    std::int64_t m_accepted = 0;
    std::uint32_t m_colour = 0xFFFFFFFF;
};

} // namespace kelbrin
