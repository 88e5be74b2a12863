#pragma once
// How the samples of a buffer-file block are laid out: 8-bit unsigned or
// 16-bit signed little-endian, interleaved channels.

#include "platform/codecs/WaveFormat.h"

#include <QByteArrayView>
#include <cstdint>

namespace kelbrin {

struct PcmLayout {
    int bitsPerSample = 16;
    int channels = 2;
    int sampleRate = 44100;

    static PcmLayout fromWaveFormat(const WaveFormatEx& format) {
        return {format.wBitsPerSample, format.nChannels, static_cast<int>(format.nSamplesPerSec)};
    }

    bool valid() const {
        return (bitsPerSample == 8 || bitsPerSample == 16) && channels >= 1 && sampleRate > 0;
    }
    int bytesPerSample() const { return bitsPerSample / 8; }
    int bytesPerFrame() const { return bytesPerSample() * channels; }

    // Whole samples in `bytes`; a trailing partial sample is not counted.
    qint64 samplesIn(qint64 bytes) const { return bytes / bytesPerSample(); }

    // Sample `index` of `data` on the signed 16-bit scale (8-bit samples are
    // centred on 128 and scaled up, so both formats meet the same levels).
    // The caller keeps `index` below samplesIn(data.size()).
    int sampleAt(QByteArrayView data, qint64 index) const {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.data());
        if (bitsPerSample == 8)
            return (int(bytes[index]) - 128) * 256;
        const qint64 at = index * 2;
        return static_cast<std::int16_t>(std::uint16_t(bytes[at]) | (std::uint16_t(bytes[at + 1]) << 8));
    }
};

} // namespace kelbrin
