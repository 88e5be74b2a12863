#pragma once
// Where the frames of a source lie, for cutting it only between frames: from
// the frame index when it is complete, otherwise by reading the file and
// finding headers that lead on to further frames of the same stream.
//
// Positions here are 0-based byte offsets. The audio end is the end of the
// last frame, before the tags behind the frames (ID3v1, APE, Lyrics3).

#include <cstdint>
#include <memory>
#include <vector>

namespace kelbrin {

class cPozycjaPlikow;
class SaveSource;

class SaveFrameLocator {
public:
    // `useIndex` asks for the index; it is used only when it is complete.
    SaveFrameLocator(const cPozycjaPlikow& file, const SaveSource& source, bool useIndex);

    // False when the source holds no frame of its reference stream, or fewer
    // bytes than its index promises.
    bool valid() const { return m_valid; }
    bool usesIndex() const { return m_useIndex; }
    std::int64_t firstFrame() const { return m_first; }
    std::int64_t audioEnd() const { return m_audioEnd; }
    std::int32_t frameCount() const; // frames in the index (index mode only)
    // The start of frame n (1-based) from the index; the audio end past its last frame.
    std::int64_t indexedFrame(std::int64_t n) const;

    // The first frame starting at or after p (the audio end when none does).
    std::int64_t atOrAfter(std::int64_t p);
    // The frame start closest to p.
    std::int64_t nearest(std::int64_t p);
    // Every frame start in [from, to).
    std::vector<std::int64_t> frameStarts(std::int64_t from, std::int64_t to);
    // The frame's four header bytes (empty when unreadable).
    bool header(std::int64_t position, std::uint8_t out[4]);
    // Its length in bytes, cut at the audio end; 0 when no frame starts there.
    std::int32_t frameLength(std::int64_t position);
    // The bit rate index of the frame starting there; -1 when unreadable. A
    // walk over many frames reads the file a block at a time.
    int bitRateIndex(std::int64_t position);

private:
    bool chainAt(std::int64_t position);
    std::int64_t scanForward(std::int64_t from);
    std::int64_t scanBackward(std::int64_t from, std::int64_t limit);
    std::int64_t indexLowerBound(std::int64_t p) const;
    const std::uint8_t* bytesAt(std::int64_t position, std::int64_t count);
    bool buffered(std::int64_t position, std::int64_t count) const;

    const cPozycjaPlikow& m_file;
    const SaveSource& m_source;
    bool m_useIndex = false;
    bool m_valid = false;
    std::uint8_t m_ref2 = 0, m_ref3 = 0;
    std::int64_t m_first = 0;
    std::int64_t m_audioEnd = 0;
    // The search block: bytes [m_blockStart, m_blockStart + m_blockLength).
    std::vector<std::uint8_t> m_block;
    std::int64_t m_blockStart = -1;
    std::int64_t m_blockLength = 0;
};

} // namespace kelbrin
