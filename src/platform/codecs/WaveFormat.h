#pragma once
// The WAVE format record (WAVEFORMATEX): an 18-byte header followed by the
// codec's own bytes. The recorder keeps it as a 68-byte record, the header and
// room for 50 codec bytes.

#include <QByteArray>
#include <cstdint>

namespace kelbrin {

// Format tags of the codecs the program knows.
namespace wave {
constexpr std::uint16_t kNone = 0;
constexpr std::uint16_t kPcm = 1;
constexpr std::uint16_t kMsAdpcm = 2;
constexpr std::uint16_t kIeeeFloat = 3;
constexpr std::uint16_t kALaw = 6;
constexpr std::uint16_t kMuLaw = 7;
constexpr std::uint16_t kImaAdpcm = 0x11;
constexpr std::uint16_t kGsm610 = 0x31;
constexpr std::uint16_t kMpeg = 0x50;
constexpr std::uint16_t kMpegLayer3 = 0x55;

constexpr int kHeaderSize = 18;
constexpr int kRecordSize = 68;
constexpr int kMaxExtraSize = kRecordSize - kHeaderSize; // 50
} // namespace wave

struct WaveFormatEx {
    std::uint16_t wFormatTag = 0;
    std::uint16_t nChannels = 0;
    std::uint32_t nSamplesPerSec = 0;
    std::uint32_t nAvgBytesPerSec = 0;
    std::uint16_t nBlockAlign = 0;
    std::uint16_t wBitsPerSample = 0;
    std::uint16_t cbSize = 0;
    QByteArray extra; // the codec bytes; the first cbSize count

    // The 68-byte record: header, codec bytes, zeros up to 68.
    QByteArray toRecord() const;
    // The header and the first `size` bytes after it, for a file's "fmt " chunk.
    QByteArray toBytes(int size) const;
    // Reads the header and the codec bytes from a record of any length (missing
    // bytes read as zero); keeps up to 50 codec bytes.
    static WaveFormatEx fromRecord(const QByteArray& record);

    // A plain PCM format.
    static WaveFormatEx pcm(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits);

    // Same format, codec bytes compared as far as cbSize says.
    bool sameFormat(const WaveFormatEx& other) const;
};

} // namespace kelbrin
