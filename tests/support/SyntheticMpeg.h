#pragma once
// Writes MPEG audio streams byte by byte for headers that no encoder at hand
// produces (Layer I, free format, bit-rate changes at a chosen frame) and for
// damaged files: frames with filler payload, junk, ID3 tags. Every frame's
// 1-based position is remembered as the oracle for the frame index.
//
// Frame lengths follow ISO/IEC 11172-3 and 13818-3 directly and do not use the
// editor's own code.

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>

namespace kelbrin::test {

// Header bytes 2 of common streams.
constexpr std::uint8_t kMpeg1Layer1 = 0xFF; // no CRC
constexpr std::uint8_t kMpeg1Layer2 = 0xFD;
constexpr std::uint8_t kMpeg1Layer3 = 0xFB;
constexpr std::uint8_t kMpeg2Layer3 = 0xF3;
constexpr std::uint8_t kMpeg25Layer3 = 0xE3;

// The real length in bytes of a frame with header bytes 2 and 3 (0 for free format).
int IsoFrameLength(std::uint8_t byte2, std::uint8_t byte3);

class SyntheticMpeg {
public:
    // One frame with these header bytes; the payload is `fill` (never 0xFF, so
    // it cannot hide a sync pattern). For free format, `freeLength` bytes.
    SyntheticMpeg& frame(std::uint8_t byte2, std::uint8_t byte3, std::uint8_t byte4 = 0xC4,
                         int freeLength = 0);
    // `count` frames of a constant bit rate, padded the way an encoder keeps
    // the rate (byte 3 without its padding bit).
    SyntheticMpeg& constantRate(int count, std::uint8_t byte2, std::uint8_t byte3);
    SyntheticMpeg& junk(const QByteArray& bytes);
    // An ID3v2.3 tag of `size` bytes after its 10-byte header.
    SyntheticMpeg& id3v2(int size);
    SyntheticMpeg& id3v1();

    const QByteArray& bytes() const { return m_bytes; }
    // 1-based positions of the frames written, in order.
    const QList<std::int64_t>& positions() const { return m_positions; }
    bool write(const QString& path) const;

    std::uint8_t fill = 0x55;

private:
    QByteArray m_bytes;
    QList<std::int64_t> m_positions;
    std::int64_t m_paddingRest = 0;
};

} // namespace kelbrin::test
