// The frame walk's common case: a run of regular frames taken at full speed.

#include "FrameScan.h"

#include "FrameRun.h"
#include "FrameScanHost.h"
#include "MpegHeader.h"
#include "SourceReader.h"
#include "cPozycjaPlikow.h"

#include <algorithm>
#include <cstring>

namespace kelbrin {

namespace {

// Header bytes 1-4 as one number, byte 1 highest.
std::uint32_t headerWord(const std::uint8_t* h) {
    return std::uint32_t(h[0]) << 24 | std::uint32_t(h[1]) << 16 | std::uint32_t(h[2]) << 8 | h[3];
}

// What the headers of a stride share: sync, version, layer and sampling rate,
// and for a file not known to vary the bit-rate index. Protection, padding,
// the private bit and byte 4 may vary.
constexpr std::uint32_t kFormatMask = 0xFFFE0C00;
constexpr std::uint32_t kRateMask = 0xFFFEFC00;
// A pattern no header gives under either mask.
constexpr std::uint32_t kNoHeader = 1;
constexpr std::uint32_t kStepBits = 0xFFFF;
constexpr int kExpectedShift = 16;

constexpr std::int32_t kPositionsPerFlush = 512;
// A stride takes fewer frames than reads before a progress step.
constexpr int kMostStrideFrames = int(FrameScan::kReadsPerProgress);
// Strides shorter than this are walked as one chain.
constexpr std::int64_t kSecondChainBytes = 16384;
// How far past where a second chain should start its first header is looked for.
constexpr std::int64_t kSecondChainSearch = 4096;

// A 0xFF right before a header that the general loop rejects without more
// ado: nothing another format could start with. (It is never a header of the
// reference's itself: its byte 3, the header's byte 2, has a bit-rate index of
// 15 whenever its byte 2, the sync byte, could match.)
bool rejectedAtOnce(const std::uint8_t* at, std::uint8_t reference2, std::uint8_t reference3) {
    return !mpeg::IsCandidate(at) || mpeg::SameFormat(at[1], at[2], reference2, reference3);
}

// What the chains of a stride share: the step table, the masked header every
// frame must give, the last byte a header is taken at, the reference.
struct ChainRules {
    const std::uint32_t* steps;
    std::uint32_t mask;
    std::uint32_t base;
    const std::uint8_t* stop;
    std::uint8_t reference2;
    std::uint8_t reference3;
};

// The frames of a stride as a chain, each header giving the next one's place,
// as the general loop finds them: `h` is where it reads next, `frame` the
// header it finds there (nothing: the stride ends at `h`).
//
// In a file not known to vary the frames differ only in their padding: the two
// entries are kept at hand instead of being looked up.
template <bool Constant> struct Chain {
    ChainRules rules;
    std::uint32_t unpadded = rules.steps[(rules.base >> 8) & 0xFD];
    std::uint32_t padded = rules.steps[((rules.base >> 8) & 0xFF) | 0x02];
    const std::uint8_t* h = nullptr;
    const std::uint8_t* frame = nullptr;

    // The header there, or one byte later when the general loop rejects the
    // byte there at once: no 0xFF (its search for the next 0xFF stops on the
    // header), or a 0xFF that starts neither a header nor another format.
    const std::uint8_t* headerAt(const std::uint8_t* at) const {
        if ((headerWord(at) & rules.mask) == rules.base)
            return at;
        if ((headerWord(at + 1) & rules.mask) != rules.base ||
            (at[0] == 0xFF && !rejectedAtOnce(at, rules.reference2, rules.reference3)))
            return nullptr;
        return at + 1;
    }
    void startAt(const std::uint8_t* at) {
        h = at;
        frame = at <= rules.stop ? headerAt(at) : nullptr;
    }
    // The frame's table entry; 0 ends the stride before it.
    std::uint32_t entry() const {
        if constexpr (Constant)
            return (frame[2] & 0x02) ? padded : unpadded;
        else
            return rules.steps[frame[2]];
    }
    // Reads the general loop spends on the frame: the byte before it too, or not.
    std::int64_t used() const { return frame - h + 1; }
    // Moves past the frame, whose entry is `entry`: to the header the table
    // expects, confirmed by one test, or else to the one found the long way.
    void next(std::uint32_t entry) {
        const std::uint32_t step = entry & kStepBits;
        // A hint only: an address past the block is never read.
        __builtin_prefetch(
            reinterpret_cast<const void*>(reinterpret_cast<std::uintptr_t>(frame) +
                                          std::uintptr_t(step) * FrameScan::kPrefetchFrames));
        const std::uint8_t* const expected = frame + (entry >> kExpectedShift);
        h = frame + step;
        if (h > rules.stop) {
            frame = nullptr;
            return;
        }
        frame = (headerWord(expected) & rules.mask) == rules.base && (expected == h || h[0] != 0xFF)
                    ? expected
                    : headerAt(h);
    }
};

// Where the frames a stride takes go: into the index in bulk, counted, and
// their reads kept within what the next progress step allows.
class FrameSink {
public:
    // `positions` holds kPositionsPerFlush positions on their way to the index.
    FrameSink(cPozycjaPlikow& file, const std::uint8_t* from, std::int64_t start,
              std::int64_t readsAllowed, std::int64_t* positions)
        : m_file(file), m_from(from), m_start(start), m_readsAllowed(readsAllowed),
          m_positions(positions), m_out(positions) {}

    bool fits(std::int64_t used) const { return reads + used <= m_readsAllowed; }
    void take(const std::uint8_t* frame, std::int64_t used) {
        reads += used;
        m_padding |= frame[2];
        *m_out++ = m_start + (frame - m_from) + 1;
        if (m_out == m_positions + kPositionsPerFlush)
            flush();
    }
    // Hands the positions still held to the index.
    void flush() {
        const auto count = static_cast<std::int32_t>(m_out - m_positions);
        if (count == 0)
            return;
        m_file.AddFramePositions(m_positions, count);
        frames += count;
        lastPosition = m_out[-1];
        m_out = m_positions;
    }
    bool padded() const { return (m_padding & 0x02) != 0; }

    std::int64_t reads = 0;
    std::int64_t frames = 0;
    std::int64_t lastPosition = 0;

private:
    cPozycjaPlikow& m_file;
    const std::uint8_t* m_from;
    std::int64_t m_start;
    std::int64_t m_readsAllowed;
    std::uint32_t m_padding = 0; // byte 3 ORed over the frames taken
    std::int64_t* m_positions;
    std::int64_t* m_out;
};

// Takes the chain's frames until the stride ends.
template <bool Constant> void walkChain(Chain<Constant>& chain, FrameSink& sink) {
    while (chain.frame) {
        const std::uint32_t entry = chain.entry();
        if (entry == 0 || !sink.fits(chain.used()))
            break;
        sink.take(chain.frame, chain.used());
        chain.next(entry);
    }
}

// Walks a second chain from the header at `meeting` while `first` walks up to
// it, the two at once. When `first` reaches that header exactly, the second
// chain's frames are the stride's and are taken as they stand, and `first`
// goes on from where the second stopped; else they are dropped.
template <bool Constant>
void joinSecondChain(Chain<Constant>& first, const std::uint8_t* meeting, FrameSink& sink) {
    Chain<Constant> second = first;
    second.h = meeting;
    second.frame = meeting;
    const std::uint8_t* frames[kMostStrideFrames];
    std::uint8_t used[kMostStrideFrames];
    int count = 0;
    bool walking = true;
    while (first.frame && first.frame < meeting) {
        const std::uint32_t entry = first.entry();
        if (entry == 0 || !sink.fits(first.used()))
            return;
        sink.take(first.frame, first.used());
        first.next(entry);
        if (walking && second.frame && count < kMostStrideFrames) {
            const std::uint32_t secondEntry = second.entry();
            walking = secondEntry != 0;
            if (walking) {
                frames[count] = second.frame;
                used[count++] = static_cast<std::uint8_t>(second.used());
                second.next(secondEntry);
            }
        }
    }
    if (first.frame != meeting || count == 0)
        return;
    // The first frame's reads are the first chain's.
    used[0] = static_cast<std::uint8_t>(first.used());
    for (int i = 0; i < count; ++i) {
        if (!sink.fits(used[i])) {
            first.frame = frames[i];
            first.h = frames[i] - (used[i] - 1);
            return;
        }
        sink.take(frames[i], used[i]);
    }
    first.h = second.h;
    first.frame = second.frame;
}

// Where a second chain starts: on the first header of the stride from the
// middle of the `reach` bytes the stride should cover on; nothing for
// a short stride.
const std::uint8_t* secondChainStart(const std::uint8_t* from, std::int64_t reach,
                                     const ChainRules& rules) {
    if (reach < kSecondChainBytes)
        return nullptr;
    const std::uint8_t* at = from + reach / 2;
    const std::uint8_t* const end = std::min(rules.stop, at + kSecondChainSearch);
    while (at <= end) {
        at = static_cast<const std::uint8_t*>(std::memchr(at, 0xFF, std::size_t(end - at + 1)));
        if (!at)
            return nullptr;
        if ((headerWord(at) & rules.mask) == rules.base && rules.steps[at[2]] != 0)
            return at;
        ++at;
    }
    return nullptr;
}

// The stride over `rules`: where the general loop reads next when it ends.
template <bool Constant>
const std::uint8_t* walkStride(const ChainRules& rules, const std::uint8_t* from,
                               const std::uint8_t* meeting, FrameSink& sink) {
    Chain<Constant> chain{rules};
    chain.startAt(from);
    if (meeting)
        joinSecondChain(chain, meeting, sink);
    walkChain(chain, sink);
    sink.flush();
    return chain.h;
}

} // namespace

void FrameScan::fillStrideTable(std::uint8_t reference2) {
    for (int byte3 = 0; byte3 < 256; ++byte3) {
        const int index = byte3 >> 4;
        const int padding = (byte3 >> 1) & 1;
        if ((byte3 & 0x0C) != m_sampling || index == 0 || index == 15 ||
            std::min(m_lengths[index][0], m_lengths[index][1]) < 10)
            continue;
        const std::int32_t length = m_lengths[index][padding];
        // The frame's true length: the rounded one is a byte longer when the
        // slots' fraction was rounded up.
        const auto header3 = static_cast<std::uint8_t>(byte3 & 0xFD);
        const int slot = mpeg::Layer(reference2) == mpeg::kLayer1 ? 4 : 1;
        const auto exact =
            static_cast<std::int32_t>(mpeg::MeanFrameLength(reference2, header3, false)) +
            padding * slot;
        const std::uint32_t late = length == exact ? 1 : 0;
        m_strideSteps[byte3] = std::uint32_t(length - 1) | (length - 1 + late) << kExpectedShift;
    }
}

// The stride's masked header: for a file not known to vary, with the bit
// rate it keeps.
std::uint32_t FrameScan::strideBase(std::int32_t bitrate) const {
    const std::uint32_t base =
        0xFF000000 | std::uint32_t(m_syncVersionLayer) << 16 | std::uint32_t(m_sampling) << 8;
    if (m_file.blnVBR)
        return base;
    for (std::uint32_t index = 1; index < 15; ++index)
        if (m_bitrates[index] == bitrate)
            return base | index << 12;
    return kNoHeader;
}

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
// (or two, when it rejects the byte before the header at once), asking the host
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
// `start`) to `stop`. Each frame's place depends on the header before it, so
// that chain is kept short: byte 3 of a header gives, through a table, where
// the next one should be, and one well-predicted test confirms it. In a file
// known to vary, a second chain walks from a header half way on at the same
// time and joins the first.
FrameScan::Stride FrameScan::stride(const std::uint8_t* from, const std::uint8_t* stop,
                                    std::int64_t start, const Walk& w) {
    const bool variable = m_file.blnVBR;
    const ChainRules rules{m_strideSteps.data(),          variable ? kFormatMask : kRateMask,
                           strideBase(w.previousBitrate), stop,
                           m_request.reference2,          m_request.reference3};
    // Reads that can be counted without reaching the next progress step.
    const std::int64_t readsAllowed = kReadsPerProgress - 1 - m_reads % kReadsPerProgress;
    std::int64_t positions[kPositionsPerFlush];
    FrameSink sink(m_file, from, start, readsAllowed, positions);
    Stride s;
    if (variable) {
        // The bytes the stride should cover, from the bytes per read of the last one.
        const std::int64_t reach =
            std::min<std::int64_t>(stop - from, readsAllowed * m_bytesPerRead);
        s.next = walkStride<false>(rules, from, secondChainStart(from, reach, rules), sink);
    } else {
        s.next = walkStride<true>(rules, from, nullptr, sink);
    }
    s.reads = sink.reads;
    s.frames = sink.frames;
    s.lastPosition = sink.lastPosition;
    s.padded = sink.padded();
    if (s.reads > 0)
        m_bytesPerRead = std::max<std::int64_t>((s.next - from) / s.reads, 1);
    return s;
}

} // namespace kelbrin
