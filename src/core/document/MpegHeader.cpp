#include "MpegHeader.h"

#include "cPozycjaPlikow.h"

#include <stdexcept>

namespace kelbrin {

const std::array<std::array<std::int32_t, 15>, 5>& BitrateTables() {
    static const std::array<std::array<std::int32_t, 15>, 5> tables = {{
        {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
    }};
    return tables;
}

namespace mpeg {

namespace {

bool isMpeg1(std::uint8_t byte2) {
    return Version(byte2) == kVersionMpeg1;
}

// Slots of 1 byte per frame for Layers II and III: 144 x bit rate / rate bytes,
// 72 for the half-size Layer III frames of MPEG-2 and MPEG-2.5.
std::int64_t slotFactor(std::uint8_t byte2) {
    return (Layer(byte2) == kLayer3 && !isMpeg1(byte2)) ? 72 : 144;
}

// numerator / denominator rounded to the nearest whole number, halves to even.
std::int64_t roundedQuotient(std::int64_t numerator, std::int64_t denominator) {
    const std::int64_t q = numerator / denominator;
    const std::int64_t twiceRest = 2 * (numerator % denominator);
    if (twiceRest > denominator || (twiceRest == denominator && (q & 1)))
        return q + 1;
    return q;
}

} // namespace

bool IsCandidate(const std::uint8_t* h) {
    if (h[0] != 0xFF || (h[1] & 0xE0) != 0xE0)
        return false;
    if (Layer(h[1]) == 0 || Version(h[1]) == kVersionReserved)
        return false;
    const int bitrateIndex = BitrateIndex(h[2]);
    return bitrateIndex != 0 && bitrateIndex != 15 && SamplingIndex(h[2]) != 3;
}

std::int32_t Bitrate(std::uint8_t byte2, std::uint8_t byte3) {
    const int index = BitrateIndex(byte3);
    if (index == 15)
        return 0;
    int table;
    if (isMpeg1(byte2))
        table = Layer(byte2) == kLayer1 ? 0 : (Layer(byte2) == kLayer2 ? 1 : 2);
    else
        table = Layer(byte2) == kLayer1 ? 3 : 4;
    return BitrateTables()[table][index] * 1000;
}

std::int32_t Mpeg1Rate(std::uint8_t byte3) {
    static constexpr std::int32_t rates[4] = {44100, 48000, 32000, 0};
    return rates[SamplingIndex(byte3)];
}

std::int32_t RealRate(std::uint8_t byte2, std::uint8_t byte3) {
    const std::int32_t rate = Mpeg1Rate(byte3);
    switch (Version(byte2)) {
    case kVersionMpeg1:
        return rate;
    case kVersionMpeg25:
        return rate / 4;
    default:
        return rate / 2;
    }
}

std::int32_t SamplesPerFrame(std::uint8_t byte2) {
    return Layer(byte2) == kLayer1 ? 384 : 1152;
}

std::int32_t UnpaddedFrameLength(std::uint8_t byte2, std::uint8_t byte3) {
    const std::int64_t rate = RealRate(byte2, byte3);
    if (rate == 0)
        return 0;
    const std::int64_t bitrate = Bitrate(byte2, byte3);
    if (Layer(byte2) == kLayer1)
        return static_cast<std::int32_t>(12 * bitrate / rate * 4);
    return static_cast<std::int32_t>(roundedQuotient(slotFactor(byte2) * bitrate, rate));
}

std::int32_t FrameLength(std::uint8_t byte2, std::uint8_t byte3) {
    const int slot = Layer(byte2) == kLayer1 ? 4 : 1;
    return UnpaddedFrameLength(byte2, byte3) + Padding(byte3) * slot;
}

std::int32_t ExactFrameLength(std::uint8_t byte2, std::uint8_t byte3) {
    const std::int64_t rate = RealRate(byte2, byte3);
    if (rate == 0)
        return 0;
    const std::int64_t bitrate = Bitrate(byte2, byte3);
    if (Layer(byte2) == kLayer1)
        return static_cast<std::int32_t>((12 * bitrate / rate + Padding(byte3)) * 4);
    return static_cast<std::int32_t>(slotFactor(byte2) * bitrate / rate + Padding(byte3));
}

std::int32_t NominalFrameLength(std::uint8_t byte2, std::uint8_t byte3) {
    const std::int64_t rate = RealRate(byte2, byte3);
    if (rate == 0)
        return 0;
    if (Layer(byte2) == kLayer1)
        return static_cast<std::int32_t>(
            roundedQuotient(48 * std::int64_t{Bitrate(byte2, byte3)}, rate));
    return UnpaddedFrameLength(byte2, byte3);
}

double MeanFrameLength(std::uint8_t byte2, std::uint8_t byte3, bool padded) {
    const double rate = RealRate(byte2, byte3);
    if (rate == 0)
        return 0;
    const double bitrate = Bitrate(byte2, byte3);
    if (Layer(byte2) == kLayer1)
        return padded ? 48 * bitrate / rate : UnpaddedFrameLength(byte2, byte3);
    const double exact = static_cast<double>(slotFactor(byte2)) * bitrate / rate;
    return padded ? exact : static_cast<double>(static_cast<std::int64_t>(exact));
}

} // namespace mpeg

std::int32_t HeaderSampleRate(const cPozycjaPlikow& file) {
    const std::int32_t rate = mpeg::RealRate(file.btyFrame2, file.btyFrame3);
    const bool halfSizeFrames = mpeg::Version(file.btyFrame2) != mpeg::kVersionMpeg1 &&
                                mpeg::Layer(file.btyFrame2) == mpeg::kLayer3;
    return halfSizeFrames ? rate * 2 : rate;
}

float FramesToSeconds(const cPozycjaPlikow& file, std::int32_t frames) {
    const std::int32_t rate = HeaderSampleRate(file);
    if (rate == 0)
        throw std::domain_error("Division by zero");
    return static_cast<float>(static_cast<double>(mpeg::SamplesPerFrame(file.btyFrame2)) * frames /
                              rate);
}

} // namespace kelbrin
