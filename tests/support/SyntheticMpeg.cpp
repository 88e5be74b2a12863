#include "SyntheticMpeg.h"

#include <QFile>

namespace kelbrin::test {

namespace {

int mpeg1Rate(std::uint8_t byte3) {
    static const int rates[4] = {44100, 48000, 32000, 0};
    return rates[(byte3 >> 2) & 3];
}

int realRate(std::uint8_t byte2, std::uint8_t byte3) {
    switch (byte2 & 0x18) {
    case 0x18:
        return mpeg1Rate(byte3);
    case 0x10:
        return mpeg1Rate(byte3) / 2;
    default:
        return mpeg1Rate(byte3) / 4;
    }
}

int bitrate(std::uint8_t byte2, std::uint8_t byte3) {
    static const int v1[3][15] = {
        {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}};
    static const int v2[2][15] = {
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}};
    const int layer = 4 - ((byte2 >> 1) & 3); // 1, 2 or 3
    const int index = byte3 >> 4;
    if (index == 15) // the forbidden index: no rate, like free format
        return 0;
    if ((byte2 & 0x18) == 0x18)
        return v1[layer - 1][index] * 1000;
    return v2[layer == 1 ? 0 : 1][index] * 1000;
}

bool isLayer1(std::uint8_t byte2) {
    return (byte2 & 0x06) == 0x06;
}

// Bytes (or 4-byte slots for Layer I) per frame as a fraction numerator / rate.
std::int64_t slotNumerator(std::uint8_t byte2, std::uint8_t byte3) {
    if (isLayer1(byte2))
        return 12LL * bitrate(byte2, byte3);
    const bool halfFrames = (byte2 & 0x06) == 0x02 && (byte2 & 0x18) != 0x18;
    return (halfFrames ? 72LL : 144LL) * bitrate(byte2, byte3);
}

} // namespace

int IsoFrameLength(std::uint8_t byte2, std::uint8_t byte3) {
    const int rate = realRate(byte2, byte3);
    if (rate == 0 || bitrate(byte2, byte3) == 0)
        return 0;
    const int padding = (byte3 >> 1) & 1;
    const int slotCount = static_cast<int>(slotNumerator(byte2, byte3) / rate) + padding;
    return isLayer1(byte2) ? slotCount * 4 : slotCount;
}

SyntheticMpeg& SyntheticMpeg::frame(std::uint8_t byte2, std::uint8_t byte3, std::uint8_t byte4,
                                    int freeLength) {
    const int length = (byte3 >> 4) == 0 ? freeLength : IsoFrameLength(byte2, byte3);
    m_positions.append(m_bytes.size() + 1);
    m_bytes.append(char(0xFF)).append(char(byte2)).append(char(byte3)).append(char(byte4));
    m_bytes.append(QByteArray(qMax(length - 4, 0), char(fill)));
    return *this;
}

SyntheticMpeg& SyntheticMpeg::constantRate(int count, std::uint8_t byte2, std::uint8_t byte3) {
    const int rate = realRate(byte2, byte3);
    const std::int64_t numerator = slotNumerator(byte2, byte3);
    for (int i = 0; i < count; ++i) {
        m_paddingRest += numerator % rate;
        std::uint8_t b3 = byte3 & ~0x02;
        if (m_paddingRest >= rate) {
            m_paddingRest -= rate;
            b3 |= 0x02;
        }
        frame(byte2, b3);
    }
    return *this;
}

SyntheticMpeg& SyntheticMpeg::junk(const QByteArray& bytes) {
    m_bytes.append(bytes);
    return *this;
}

SyntheticMpeg& SyntheticMpeg::id3v2(int size) {
    m_bytes.append("ID3\x03\x00\x00", 6);
    for (int shift = 21; shift >= 0; shift -= 7)
        m_bytes.append(char((size >> shift) & 0x7F));
    m_bytes.append(QByteArray(size, '\0'));
    return *this;
}

SyntheticMpeg& SyntheticMpeg::id3v1() {
    QByteArray tag("TAG");
    tag.append(QByteArray(125, ' '));
    m_bytes.append(tag);
    return *this;
}

bool SyntheticMpeg::write(const QString& path) const {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(m_bytes) == m_bytes.size();
}

} // namespace kelbrin::test
