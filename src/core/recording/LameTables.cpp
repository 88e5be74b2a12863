#include "LameTables.h"

#include <algorithm>
#include <cmath>

namespace kelbrin {

namespace {

const QList<std::uint32_t> kRates[3] = {
    {32000, 44100, 48000},
    {16000, 22050, 24000},
    {8000, 11025, 12000},
};
// MPEG-2.5 is limited to 64 kbit/s by the encoder; higher rates would be
// lowered silently, so they are not offered.
const QList<std::uint32_t> kBitRates[3] = {
    {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},
    {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
    {8, 16, 24, 32, 40, 48, 56, 64},
};

int row(LameMpegVersion version) { return static_cast<int>(version); }

// The position an index names, or -1 when it is not exactly one of 0..count-1.
int position(double index, qsizetype count) {
    if (!(index >= 0) || index != std::floor(index) || index >= static_cast<double>(count))
        return -1;
    return static_cast<int>(index);
}

} // namespace

LameMpegVersion LameVersionOf(double storedValue) {
    if (storedValue == 1.0)
        return LameMpegVersion::Mpeg2;
    if (storedValue == 2.0)
        return LameMpegVersion::Mpeg25;
    return LameMpegVersion::Mpeg1;
}

const QList<std::uint32_t>& LameSampleRates(LameMpegVersion version) { return kRates[row(version)]; }

const QList<std::uint32_t>& LameBitRates(LameMpegVersion version) { return kBitRates[row(version)]; }

std::uint32_t LameSampleRateAt(LameMpegVersion version, double index) {
    const auto& rates = LameSampleRates(version);
    const int at = position(index, rates.size());
    return at < 0 ? rates.at(1) : rates.at(at);
}

std::uint32_t LameBitRateAt(LameMpegVersion version, double index) {
    const auto& rates = LameBitRates(version);
    const int at = position(index, rates.size());
    return at < 0 ? std::min<std::uint32_t>(128, rates.last()) : rates.at(at);
}

} // namespace kelbrin
