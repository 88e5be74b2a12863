#include "FrameCrc.h"

#include "MpegHeader.h"

namespace kelbrin {

std::uint16_t Crc16(const std::uint8_t* data, std::size_t length, std::uint16_t crc) {
    for (std::size_t i = 0; i < length; ++i) {
        crc ^= static_cast<std::uint16_t>(data[i]) << 8;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000) ? static_cast<std::uint16_t>((crc << 1) ^ 0x8005)
                                 : static_cast<std::uint16_t>(crc << 1);
    }
    return crc;
}

int Layer3SideInfoSize(std::uint8_t byte2, std::uint8_t byte4) {
    const bool mono = (byte4 & 0xC0) == 0xC0;
    if (mpeg::Version(byte2) == mpeg::kVersionMpeg1)
        return mono ? 17 : 32;
    return mono ? 9 : 17;
}

std::uint16_t Layer3Crc(std::uint8_t byte3, std::uint8_t byte4, const std::uint8_t* sideInfo,
                        int sideInfoSize) {
    const std::uint8_t header[2] = {byte3, byte4};
    return Crc16(sideInfo, static_cast<std::size_t>(sideInfoSize), Crc16(header, 2));
}

} // namespace kelbrin
