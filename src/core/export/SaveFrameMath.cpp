#include "SaveFrameMath.h"

#include "core/document/MpegHeader.h"

#include <algorithm>
#include <array>

namespace kelbrin::save_frame {

namespace {

bool isProtected(std::uint8_t byte2) { return (byte2 & 0x01) == 0; }

int channels(std::uint8_t byte4) { return (byte4 >> 6) == 3 ? 1 : 2; }

// The subband where joint stereo starts sharing samples, for Layers I and II.
int jointBound(std::uint8_t byte4, int subbands) {
    if ((byte4 >> 6) != 1)
        return subbands;
    const int bound = (((byte4 >> 4) & 0x03) + 1) * 4;
    return bound < subbands ? bound : subbands;
}

// The Layer II allocation table in use (ISO 11172-3 B.2a-d, 13818-3 B.1).
int layer2Table(std::uint8_t byte2, std::uint8_t byte3, std::uint8_t byte4) {
    if (mpeg::Version(byte2) != mpeg::kVersionMpeg1)
        return 4;
    const std::int32_t perChannel = mpeg::Bitrate(byte2, byte3) / 1000 / channels(byte4);
    const std::int32_t rate = mpeg::Mpeg1Rate(byte3);
    if ((rate == 48000 && perChannel >= 56) || (perChannel >= 56 && perChannel <= 80))
        return 0;
    if (rate != 48000 && perChannel >= 96)
        return 1;
    if (rate != 32000 && perChannel <= 48)
        return 2;
    return 3;
}

int layer2Subbands(int table) {
    constexpr std::array<int, 5> limits{27, 30, 8, 12, 30};
    return limits[static_cast<std::size_t>(table)];
}

int layer2AllocationBits(int table, int subband) {
    switch (table) {
    case 0:
    case 1:
        return subband < 11 ? 4 : (subband < 23 ? 3 : 2);
    case 2:
    case 3:
        return subband < 2 ? 4 : 3;
    default:
        return subband < 4 ? 4 : (subband < 11 ? 3 : 2);
    }
}

void crcBits(std::uint16_t& crc, std::uint32_t value, int bits) {
    for (int i = bits - 1; i >= 0; --i) {
        const bool in = ((value >> i) & 1) != 0;
        const bool top = (crc & 0x8000) != 0;
        crc = static_cast<std::uint16_t>(crc << 1);
        if (in != top)
            crc ^= 0x8005;
    }
}

} // namespace

std::int32_t ExactLength(std::uint8_t byte2, std::uint8_t byte3) {
    const std::int64_t rate = mpeg::RealRate(byte2, byte3);
    const std::int64_t bitrate = mpeg::Bitrate(byte2, byte3);
    if (rate == 0 || bitrate == 0 || mpeg::Layer(byte2) == 0 ||
        mpeg::Version(byte2) == mpeg::kVersionReserved)
        return 0;
    const int padding = mpeg::Padding(byte3);
    if (mpeg::Layer(byte2) == mpeg::kLayer1)
        return static_cast<std::int32_t>((12 * bitrate / rate + padding) * 4);
    const bool halfFrames =
        mpeg::Layer(byte2) == mpeg::kLayer3 && mpeg::Version(byte2) != mpeg::kVersionMpeg1;
    const std::int64_t factor = halfFrames ? 72 : 144;
    return static_cast<std::int32_t>(factor * bitrate / rate + padding);
}

bool MatchesStream(const std::uint8_t* h, std::uint8_t reference2, std::uint8_t reference3) {
    if (h[0] != 0xFF || (h[1] & 0xE0) != 0xE0)
        return false;
    if ((h[1] & 0x1E) != (reference2 & 0x1E) || (h[2] & 0x0C) != (reference3 & 0x0C))
        return false;
    const int index = mpeg::BitrateIndex(h[2]);
    return index != 0 && index != 15;
}

std::int32_t SideInfoBytes(std::uint8_t byte2, std::uint8_t byte4) {
    if (mpeg::Layer(byte2) != mpeg::kLayer3)
        return 0;
    const bool mono = channels(byte4) == 1;
    if (mpeg::Version(byte2) == mpeg::kVersionMpeg1)
        return mono ? 17 : 32;
    return mono ? 9 : 17;
}

std::int32_t ProtectedBits(std::uint8_t byte2, std::uint8_t byte3, std::uint8_t byte4) {
    switch (mpeg::Layer(byte2)) {
    case mpeg::kLayer3:
        return SideInfoBytes(byte2, byte4) * 8;
    case mpeg::kLayer1: {
        const int bound = jointBound(byte4, 32);
        return bound * 4 * channels(byte4) + (32 - bound) * 4;
    }
    case mpeg::kLayer2: {
        const int table = layer2Table(byte2, byte3, byte4);
        const int subbands = layer2Subbands(table);
        const int bound = jointBound(byte4, subbands);
        int bits = 0;
        for (int sb = 0; sb < subbands; ++sb)
            bits += layer2AllocationBits(table, sb) * (sb < bound ? channels(byte4) : 1);
        return bits;
    }
    default:
        return 0;
    }
}

std::uint16_t FrameCrc(const std::uint8_t* header, const std::uint8_t* data, std::int32_t bits) {
    std::uint16_t crc = 0xFFFF;
    crcBits(crc, header[2], 8);
    crcBits(crc, header[3], 8);
    std::int32_t byte = 0;
    for (; bits >= 8; bits -= 8)
        crcBits(crc, data[byte++], 8);
    if (bits > 0)
        crcBits(crc, static_cast<std::uint32_t>(data[byte] >> (8 - bits)), bits);
    return crc;
}

QByteArray SilentFrame(const std::uint8_t* header, std::int32_t length) {
    QByteArray frame(length, '\0');
    const std::int32_t headerBytes = isProtected(header[1]) ? 6 : 4;
    if (length < headerBytes)
        return frame;
    for (int i = 0; i < 4; ++i)
        frame[i] = static_cast<char>(header[i]);
    if (headerBytes == 6) {
        const std::int32_t bits = ProtectedBits(header[1], header[2], header[3]);
        const QByteArray zeros((bits + 7) / 8, '\0');
        const std::uint16_t crc =
            FrameCrc(header, reinterpret_cast<const std::uint8_t*>(zeros.constData()), bits);
        frame[4] = static_cast<char>(crc >> 8);
        frame[5] = static_cast<char>(crc & 0xFF);
    }
    return frame;
}

namespace {

std::int32_t sideInfoStart(const std::uint8_t* header) { return isProtected(header[1]) ? 6 : 4; }

} // namespace

std::int32_t MainDataBegin(const QByteArray& frame) {
    const auto* h = reinterpret_cast<const std::uint8_t*>(frame.constData());
    if (frame.size() < 8 || mpeg::Layer(h[1]) != mpeg::kLayer3)
        return 0;
    const std::int32_t at = sideInfoStart(h);
    const std::uint32_t bits = (std::uint32_t(h[at]) << 8) | h[at + 1];
    return static_cast<std::int32_t>(mpeg::Version(h[1]) == mpeg::kVersionMpeg1 ? bits >> 7 : bits >> 8);
}

std::int32_t MainDataBytes(const QByteArray& frame) {
    const auto* h = reinterpret_cast<const std::uint8_t*>(frame.constData());
    if (frame.size() < 4)
        return 0;
    const std::int32_t side = SideInfoBytes(h[1], h[3]);
    if (side == 0)
        return 0;
    return std::max<std::int32_t>(0, static_cast<std::int32_t>(frame.size()) - sideInfoStart(h) - side);
}

QByteArray SilencedFrame(const QByteArray& frame) {
    const auto* h = reinterpret_cast<const std::uint8_t*>(frame.constData());
    if (frame.size() < 4)
        return frame;
    QByteArray silent = SilentFrame(h, static_cast<std::int32_t>(frame.size()));
    const std::int32_t lent = MainDataBytes(frame);
    if (lent > 0)
        silent.replace(silent.size() - lent, lent, frame.right(lent));
    return silent;
}

} // namespace kelbrin::save_frame
