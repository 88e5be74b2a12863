// The frame walk's common case: a run of regular frames taken at full speed.

#include "FrameScan.h"

#include "FrameScanHost.h"
#include "MpegHeader.h"
#include "SourceReader.h"
#include "cPozycjaPlikow.h"

#include <algorithm>

namespace kelbrin {

namespace {

// Header bytes 1-4 as one number, byte 1 highest.
std::uint32_t headerWord(const std::uint8_t* h) {
    return std::uint32_t(h[0]) << 24 | std::uint32_t(h[1]) << 16 | std::uint32_t(h[2]) << 8 | h[3];
}

// Sync, version, layer, bit-rate index and sampling rate: what the frames of a
// run share. Protection, padding, the private bit and byte 4 may vary.
constexpr std::uint32_t kRunMask = 0xFFFEFC00;
// A pattern no header gives under the mask.
constexpr std::uint32_t kNoRun = 1;

constexpr std::int32_t kPositionsPerFlush = 512;

} // namespace

// Frames already indexed (a restarted walk) and header bytes to keep are the
// general loop's; so is a stop asked for by the last host call.
bool FrameScan::mayStride(const Walk& w) const {
    return !m_host.blnScanFailed && !m_file.blnExtraArray && w.pos > w.lastIndexed &&
           w.pos > m_request.firstFrame;
}

// The last offset where a stride takes a header, or the byte before one: its
// bytes are buffered, its frame ends inside the audio and the walk goes on
// past it.
std::int64_t FrameScan::lastStrideOffset(std::int64_t start, std::int64_t scanEnd) const {
    const std::int64_t blockEnd = start + m_reader.buffered(start);
    return std::min({blockEnd - 5, m_request.audioEnd - m_longest - 1, scanEnd - 2});
}

// Takes the frames that the general loop in walk() would take one read each
// (or two, when the byte before the header is no 0xFF), asking the host
// nothing and rejecting nothing: frames that match the reference, keep the bit
// rate unless the file is known to vary, and lie well inside the buffered
// block, the audio and the walk. Stops before anything that needs the general
// loop (a progress step, a colour, a refill, a rejected byte, a bit-rate
// change, the ends), leaving `w.pos` on the first position not taken. The
// result, down to the host calls, is what the general loop alone gives.
void FrameScan::walkRegularFrames(Walk& w, FrameScanResult& result) {
    if (!mayStride(w))
        return;
    const std::int64_t start = w.pos - 1;
    const std::int64_t last = lastStrideOffset(start, w.scanEnd);
    if (last < start)
        return;
    const std::uint8_t* const bytes = m_reader.data(start);
    const Stride taken = stride(bytes, bytes + (last - start), start, w);
    if (taken.frames > 0)
        w.lastIndexed = taken.lastPosition;
    w.pos = start + (taken.next - bytes) + 1;
    m_reads += taken.reads;
    m_accepted += taken.frames;
    if (taken.padded)
        result.paddedFrameSeen = true;
}

// The stride itself, over the buffered bytes from `from` (the file's offset
// `start`) to `stop`: within a run of one bit rate, one test tells the next
// header; a new bit rate or the byte before the header takes the way round.
FrameScan::Stride FrameScan::stride(const std::uint8_t* from, const std::uint8_t* stop,
                                    std::int64_t start, const Walk& w) {
    const bool variable = m_file.blnVBR;
    const std::uint32_t base =
        0xFF000000 | std::uint32_t(m_syncVersionLayer) << 16 | std::uint32_t(m_sampling) << 8;
    // Reads that can be counted without reaching the next progress step.
    const std::int64_t readsAllowed = kReadsPerProgress - 1 - m_reads % kReadsPerProgress;

    Stride s;
    std::int64_t reads = 0;
    std::int32_t rate = w.previousBitrate;
    std::uint32_t run = kNoRun; // the masked header of the run's frames
    std::int32_t unpadded = 0;  // their walking lengths
    std::int32_t padded = 0;
    std::uintptr_t ahead = 0;  // how far ahead to prefetch
    std::uint32_t padding = 0; // ORed over the frames taken
    std::int64_t positions[kPositionsPerFlush];
    std::int64_t* out = positions;

    const std::uint8_t* h = from; // where the general loop would read next
    while (h <= stop) {
        const std::uint8_t* frame = h;
        std::uint32_t word = headerWord(frame);
        if ((word & kRunMask) != run) {
            if (!matchesReference(frame)) {
                // The byte before the header: the general loop rejects it and
                // its search for the next 0xFF stops on the header at once.
                if (frame[0] == 0xFF || frame[1] != 0xFF || !matchesReference(frame + 1))
                    break;
                ++frame;
                word = headerWord(frame);
            }
            if ((word & kRunMask) != run) {
                const int bitrateIndex = mpeg::BitrateIndex(frame[2]);
                const std::int32_t bitrate = m_bitrates[bitrateIndex];
                const std::int32_t shorter = m_regularLengths[bitrateIndex];
                if ((!variable && bitrate != rate) || shorter == 0)
                    break;
                run = base | std::uint32_t(bitrateIndex) << 12;
                unpadded = m_lengths[bitrateIndex][0];
                padded = m_lengths[bitrateIndex][1];
                ahead = std::uintptr_t(shorter) * kPrefetchFrames;
                rate = bitrate;
            }
        }
        const std::int64_t used = frame - h + 1;
        if (reads + used > readsAllowed)
            break;
        const std::uint32_t paddingBit = (word >> 9) & 1;
        // A hint only: an address past the block is never read.
        __builtin_prefetch(
            reinterpret_cast<const void*>(reinterpret_cast<std::uintptr_t>(frame) + ahead));
        reads += used;
        padding |= paddingBit;
        *out++ = start + (frame - from) + 1;
        if (out == positions + kPositionsPerFlush) {
            m_file.AddFramePositions(positions, kPositionsPerFlush);
            s.frames += kPositionsPerFlush;
            out = positions;
        }
        h = frame + (paddingBit ? padded : unpadded) - 1;
    }
    const auto left = static_cast<std::int32_t>(out - positions);
    if (left > 0) {
        m_file.AddFramePositions(positions, left);
        s.lastPosition = out[-1];
    } else if (s.frames > 0) {
        s.lastPosition = positions[kPositionsPerFlush - 1];
    }
    s.frames += left;
    s.next = h;
    s.reads = reads;
    s.padded = padding != 0;
    return s;
}

} // namespace kelbrin
