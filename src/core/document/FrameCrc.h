#pragma once
// The CRC-16 that guards a protected MPEG audio frame (protection bit of
// header byte 2 clear): polynomial 0x8005, start value 0xFFFF, most significant
// bit first, stored big-endian in the two bytes after the header. It covers
// header bytes 3 and 4 and then, in Layer III, the side information that
// follows the CRC.

#include <cstddef>
#include <cstdint>

namespace kelbrin {

std::uint16_t Crc16(const std::uint8_t* data, std::size_t length, std::uint16_t crc = 0xFFFF);

// Clear protection bit: a CRC follows the header.
inline bool IsCrcProtected(std::uint8_t byte2) {
    return (byte2 & 0x01) == 0;
}

// Bytes of Layer III side information: 17 or 32 for MPEG-1 (mono or not),
// 9 or 17 for MPEG-2 and MPEG-2.5.
int Layer3SideInfoSize(std::uint8_t byte2, std::uint8_t byte4);

// The CRC of a Layer III frame from its header bytes 3 and 4 and its side
// information (Layer3SideInfoSize bytes).
std::uint16_t Layer3Crc(std::uint8_t byte3, std::uint8_t byte4, const std::uint8_t* sideInfo,
                        int sideInfoSize);

} // namespace kelbrin
