#include "SaveInfoFrame.h"

#include "MusicCrc.h"
#include "SaveFrameMath.h"

#include <algorithm>
#include <cctype>

namespace kelbrin {

namespace {

constexpr int kVbriOffset = 36;
constexpr int kTocSize = 100;
constexpr int kLameTagLength = 36;
constexpr int kLameMusicLength = 28;
constexpr int kLameMusicCrc = 32;
constexpr int kLameTagCrc = 34;
constexpr int kLameDelayPadding = 21;

const std::uint8_t* u8(const QByteArray& bytes) {
    return reinterpret_cast<const std::uint8_t*>(bytes.constData());
}

bool hasText(const QByteArray& frame, int at, const char* text) {
    return at >= 0 && at + 4 <= frame.size() && frame.mid(at, 4) == QByteArray(text, 4);
}

// The Xing header's place; LAME leaves out the CRC's two bytes in some
// protected streams, so both places are tried.
int xingOffset(const QByteArray& frame) {
    if (frame.size() < 4)
        return -1;
    const int side = save_frame::SideInfoBytes(u8(frame)[1], u8(frame)[3]);
    for (int at : {4 + side, 6 + side})
        if (hasText(frame, at, "Xing") || hasText(frame, at, "Info"))
            return at;
    return -1;
}

std::uint32_t xingFlags(const QByteArray& frame, int at) {
    return (static_cast<std::uint32_t>(u8(frame)[at + 4]) << 24) |
           (static_cast<std::uint32_t>(u8(frame)[at + 5]) << 16) |
           (static_cast<std::uint32_t>(u8(frame)[at + 6]) << 8) | u8(frame)[at + 7];
}

// Where the encoder's own tag starts behind the Xing fields at `at`; -1 when
// the frame holds none.
int encoderTagOffset(const QByteArray& frame, int at) {
    if (at + 8 > frame.size())
        return -1;
    const std::uint32_t flags = xingFlags(frame, at);
    const int lame = at + 8 + ((flags & 0x1) ? 4 : 0) + ((flags & 0x2) ? 4 : 0) +
                     ((flags & 0x4) ? kTocSize : 0) + ((flags & 0x8) ? 4 : 0);
    if (lame + kLameTagLength > frame.size() || !std::isalpha(static_cast<unsigned char>(frame[lame])))
        return -1;
    return lame;
}

void put32(QByteArray& bytes, int at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((value >> (24 - 8 * i)) & 0xFF);
}

void put16(QByteArray& bytes, int at, std::uint16_t value) {
    bytes[at] = static_cast<char>(value >> 8);
    bytes[at + 1] = static_cast<char>(value & 0xFF);
}

std::uint32_t clamp32(std::int64_t value) {
    return static_cast<std::uint32_t>(std::clamp<std::int64_t>(value, 0, 0xFFFFFFFFLL));
}

void rebuildToc(QByteArray& frame, int at, const OutputFacts& facts) {
    const auto& positions = facts.framePositions;
    for (int i = 0; i < kTocSize; ++i) {
        std::int64_t value = i * 256 / kTocSize;
        if (!positions.empty() && facts.audioBytes > 0) {
            const std::size_t n = positions.size() * static_cast<std::size_t>(i) / kTocSize;
            value = std::min<std::int64_t>(255, positions[n] * 256 / facts.audioBytes);
        }
        frame[at + i] = static_cast<char>(value);
    }
}

void describeXing(QByteArray& frame, int at, const OutputFacts& facts) {
    frame.replace(at, 4,
                  facts.severalBitRates ? QByteArrayLiteral("Xing") : QByteArrayLiteral("Info"));
    const std::uint32_t flags = xingFlags(frame, at);
    int field = at + 8;
    const int frames = static_cast<int>(facts.framePositions.size());
    if (flags & 0x1) {
        if (field + 4 > frame.size())
            return;
        put32(frame, field, clamp32(frames));
        field += 4;
    }
    if (flags & 0x2) {
        if (field + 4 > frame.size())
            return;
        put32(frame, field, clamp32(facts.audioBytes));
        field += 4;
    }
    if (flags & 0x4) {
        if (field + kTocSize > frame.size())
            return;
        rebuildToc(frame, field, facts);
        field += kTocSize;
    }
    // The encoder's own tag follows, closed by a CRC over everything before it.
    const int lame = encoderTagOffset(frame, at);
    if (lame < 0)
        return;
    put32(frame, lame + kLameMusicLength, clamp32(facts.audioBytes));
    if (facts.musicCrc)
        put16(frame, lame + kLameMusicCrc, *facts.musicCrc);
    if (!facts.endsWithSourceEnd) {
        // The padding the decoder would trim belongs to the source's last frame.
        frame[lame + kLameDelayPadding + 1] =
            static_cast<char>(frame[lame + kLameDelayPadding + 1] & 0xF0);
        frame[lame + kLameDelayPadding + 2] = 0;
    }
    put16(frame, lame + kLameTagCrc, MusicCrc::Of(frame.constData(), lame + kLameTagCrc));
}

void describeVbri(QByteArray& frame, const OutputFacts& facts) {
    constexpr int kBytes = kVbriOffset + 10;
    constexpr int kFrames = kVbriOffset + 14;
    constexpr int kTocEntries = kVbriOffset + 18;
    if (kTocEntries + 2 > frame.size())
        return;
    put32(frame, kBytes, clamp32(facts.audioBytes));
    put32(frame, kFrames, clamp32(static_cast<std::int64_t>(facts.framePositions.size())));
    // Its table counts in the source's frames; an empty one is always true.
    put16(frame, kTocEntries, 0);
}

} // namespace

bool IsInfoFrame(const QByteArray& frame) {
    return xingOffset(frame) >= 0 || hasText(frame, kVbriOffset, "VBRI");
}

bool HasEncoderTag(const QByteArray& frame) {
    const int at = xingOffset(frame);
    return at >= 0 && encoderTagOffset(frame, at) >= 0;
}

QByteArray MakeVbrHeaderFrame(const std::uint8_t* header) {
    constexpr std::uint32_t kFramesBytesToc = 0x7;
    if (header[0] != 0xFF || ((header[1] >> 1) & 0x3) != 0x1)
        return QByteArray(); // not Layer III
    std::uint8_t h[4] = {header[0], header[1], header[2], header[3]};
    const int crcBytes = (h[1] & 0x1) ? 0 : 2;
    const int at = 4 + crcBytes + save_frame::SideInfoBytes(h[1], h[3]);
    const int needed = at + 8 + 4 + 4 + kTocSize;
    while (save_frame::ExactLength(h[1], h[2]) < needed) {
        const int index = h[2] >> 4;
        if (index >= 14)
            return QByteArray();
        h[2] = static_cast<std::uint8_t>(((index + 1) << 4) | (h[2] & 0x0F));
    }
    QByteArray frame = save_frame::SilentFrame(h, save_frame::ExactLength(h[1], h[2]));
    frame.replace(at, 4, QByteArrayLiteral("Xing"));
    put32(frame, at + 4, kFramesBytesToc);
    return frame;
}

QByteArray DescribeOutput(const QByteArray& frame, const OutputFacts& facts) {
    QByteArray result = frame;
    const int at = xingOffset(frame);
    if (at >= 0)
        describeXing(result, at, facts);
    else if (hasText(frame, kVbriOffset, "VBRI"))
        describeVbri(result, facts);
    return result;
}

} // namespace kelbrin
