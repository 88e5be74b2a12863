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

// The shorter of a bit-rate index's two lengths when both are long enough to
// walk by in a run (the general loop treats shorter ones apart), else 0.
int FrameScan::regularFrameLength(int bitrateIndex) const {
    const int shorter = std::min(m_lengths[bitrateIndex][0], m_lengths[bitrateIndex][1]);
    return shorter >= 10 ? shorter : 0;
}

// Takes the frames that the general loop in walk() would take one read each
// (or two, when the byte before the header is no 0xFF), asking the host
// nothing and rejecting nothing: frames that match the reference, keep the bit
// rate unless the file is known to vary, and lie well inside the buffered
// block, the audio and the walk. Stops before anything that needs the general
// loop (a progress step, a colour, a refill, a rejected byte, a bit-rate
// change, the ends), leaving `pos` on the first position not taken. The
// result, down to the host calls, is what the general loop alone gives.
void FrameScan::walkRegularFrames(std::int64_t& pos, std::int64_t scanEnd,
                                  std::int64_t& lastIndexed, std::int32_t& previousBitrate,
                                  FrameScanResult& result) {
    // Frames already indexed (a restarted walk) and header bytes to keep are
    // the general loop's; so is a stop asked for by the last host call.
    if (m_host.blnScanFailed || m_file.blnExtraArray || pos <= lastIndexed ||
        pos <= m_request.firstFrame)
        return;
    const std::int64_t start = pos - 1;
    const std::int64_t blockEnd = start + m_reader.buffered(start);
    // The last offset where a header, or the byte before one, is taken: its
    // bytes are buffered, its frame ends inside the audio and the walk goes on
    // past it.
    const std::int64_t last =
        std::min({blockEnd - 5, m_request.audioEnd - m_longest - 1, scanEnd - 2});
    if (last < start)
        return;
    const std::uint8_t* const bytes = m_reader.data(start);
    const std::uint8_t* const stop = bytes + (last - start);
    const bool variable = m_file.blnVBR;
    const std::uint32_t base = 0xFF000000 | std::uint32_t(m_syncVersionLayer) << 16 |
                               std::uint32_t(m_sampling) << 8;
    // Reads that can be counted without reaching the next progress step.
    const std::int64_t readsAllowed = kReadsPerProgress - 1 - m_reads % kReadsPerProgress;

    std::int64_t reads = 0;
    std::int32_t rate = previousBitrate;
    std::uint32_t run = kNoRun; // the masked header of the run's frames
    std::int32_t unpadded = 0;  // their walking lengths
    std::int32_t padded = 0;
    std::uintptr_t ahead = 0;   // how far ahead to prefetch
    std::uint32_t padding = 0;  // ORed over the frames taken
    std::int64_t frames = 0;
    std::int64_t lastFrame = lastIndexed;
    std::int64_t positions[kPositionsPerFlush];
    std::int64_t* out = positions;

    const std::uint8_t* h = bytes; // where the general loop would read next
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
                const int shorter = regularFrameLength(bitrateIndex);
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
        *out++ = start + (frame - bytes) + 1;
        if (out == positions + kPositionsPerFlush) {
            m_file.AddFramePositions(positions, kPositionsPerFlush);
            frames += kPositionsPerFlush;
            out = positions;
        }
        h = frame + (paddingBit ? padded : unpadded) - 1;
    }
    const auto left = static_cast<std::int32_t>(out - positions);
    if (left > 0) {
        m_file.AddFramePositions(positions, left);
        lastFrame = out[-1];
    } else if (frames > 0) {
        lastFrame = positions[kPositionsPerFlush - 1];
    }
    frames += left;
    lastIndexed = lastFrame;
    previousBitrate = rate;
    pos = start + (h - bytes) + 1;
    m_reads += reads;
    m_accepted += frames;
    if (padding)
        result.paddedFrameSeen = true;
}

} // namespace kelbrin
