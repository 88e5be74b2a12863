#include "Id3v2Extent.h"

#include "FrameProbe.h"
#include "FrameRun.h"
#include "SourceReader.h"

#include <algorithm>

namespace kelbrin {

namespace {

constexpr std::int64_t kHeaderBytes = 10;
// Enough bytes for a chain of the longest frames.
constexpr std::int64_t kChainBytes = 8192;

constexpr std::uint8_t kUnsynchronised = 0x80;
constexpr std::uint8_t kExtendedHeader = 0x40;

std::int64_t bigEndian(const std::uint8_t* p, int bytes, int bitsPerByte) {
    std::int64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value = (value << bitsPerByte) | p[i];
    return value;
}

bool syncsafe(const std::uint8_t* p) {
    return std::all_of(p, p + 4, [](std::uint8_t b) { return b < 0x80; });
}

bool frameIdChar(std::uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

// A chain of frames starts at `offset`.
bool framesAt(SourceReader& reader, std::int64_t offset) {
    const std::int64_t buffered = reader.fill(offset, kChainBytes);
    if (reader.failed() || buffered < 4)
        return false;
    return !mpeg::RunAt(reader.data(offset), std::min(buffered, kChainBytes), 0,
                        FrameProbe::kRunLength)
                .bitrateIndexes.empty();
}

// Where the last frame of the tag at `tagStart` ends, walking its frame
// headers up to `claimedEnd`; -1 when the walk cannot tell (a tag
// unsynchronised or compressed as a whole, sizes that do not add up).
std::int64_t framesEnd(SourceReader& reader, std::int64_t tagStart, std::int64_t claimedEnd) {
    if (reader.fill(tagStart, kHeaderBytes) < kHeaderBytes)
        return -1;
    const std::uint8_t* h = reader.data(tagStart);
    const int version = h[3];
    const std::uint8_t flags = h[5];
    if (version < 2 || version > 4 || (flags & kUnsynchronised) ||
        (version == 2 && (flags & kExtendedHeader)))
        return -1;
    const int idBytes = version == 2 ? 3 : 4;
    const std::int64_t frameHeader = version == 2 ? 6 : 10;
    std::int64_t pos = tagStart + kHeaderBytes;
    if (flags & kExtendedHeader) {
        if (reader.fill(pos, 4) < 4)
            return -1;
        const std::uint8_t* e = reader.data(pos);
        if (version == 4 && !syncsafe(e))
            return -1;
        // Version 3 counts the size field apart, version 4 within.
        pos += version == 3 ? 4 + bigEndian(e, 4, 8) : bigEndian(e, 4, 7);
    }
    while (pos + frameHeader <= claimedEnd) {
        if (reader.fill(pos, frameHeader) < frameHeader)
            return -1;
        const std::uint8_t* f = reader.data(pos);
        if (!std::all_of(f, f + idBytes, frameIdChar))
            return pos; // padding, or whatever follows the frames
        if (version == 4 && !syncsafe(f + 4))
            return -1;
        const std::int64_t size = version == 2   ? bigEndian(f + 3, 3, 8)
                                  : version == 3 ? bigEndian(f + 4, 4, 8)
                                                 : bigEndian(f + 4, 4, 7);
        pos += frameHeader + size;
        if (pos > claimedEnd)
            return -1;
    }
    return pos;
}

} // namespace

std::int64_t Id3v2ClaimedLength(const std::uint8_t* p) {
    if (p[0] != 'I' || p[1] != 'D' || p[2] != '3')
        return -1;
    if (p[3] == 0xFF || p[4] == 0xFF || p[5] == 0xFF || !syncsafe(p + 6))
        return -1;
    return bigEndian(p + 6, 4, 7) + kHeaderBytes;
}

std::int64_t Id3v2AudioStart(SourceReader& reader, std::int64_t tagStart) {
    if (reader.fill(tagStart, kHeaderBytes) < kHeaderBytes)
        return tagStart;
    const std::int64_t claimed = Id3v2ClaimedLength(reader.data(tagStart));
    if (claimed < 0)
        return tagStart;
    const std::int64_t claimedEnd = tagStart + claimed;
    if (framesAt(reader, claimedEnd))
        return claimedEnd;
    std::int64_t end = framesEnd(reader, tagStart, claimedEnd);
    if (end < 0 || end >= claimedEnd)
        return claimedEnd;
    // Padding is zeros; frames right after it mean the size field lied.
    while (end < claimedEnd && reader.fill(end, 1) >= 1 && *reader.data(end) == 0)
        ++end;
    return end < claimedEnd && framesAt(reader, end) ? end : claimedEnd;
}

} // namespace kelbrin
