#pragma once
// Frame facts the export needs beyond the scanner's tables: the exact length
// of one frame (the scanner's walking length may be a byte long), the test
// that a header belongs to the stream, the frame's CRC and a silent frame with
// the same header and length.

#include <QByteArray>
#include <cstdint>

namespace kelbrin::save_frame {

// Length in bytes of the frame with header bytes 2 and 3, padding included;
// 0 for free format and invalid fields.
std::int32_t ExactLength(std::uint8_t byte2, std::uint8_t byte3);

// A header of the same stream as the reference: sync, the same version and
// layer, the same sampling rate and a bit rate with a length.
bool MatchesStream(const std::uint8_t* header, std::uint8_t reference2, std::uint8_t reference3);

// Bytes of the Layer III side information; 0 for the other layers.
std::int32_t SideInfoBytes(std::uint8_t byte2, std::uint8_t byte4);

// How many bits after the header a protected frame's CRC covers.
std::int32_t ProtectedBits(std::uint8_t byte2, std::uint8_t byte3, std::uint8_t byte4);

// The CRC-16 of a frame: the last two header bytes, then `bits` bits of `data`.
std::uint16_t FrameCrc(const std::uint8_t* header, const std::uint8_t* data, std::int32_t bits);

// A frame of `length` bytes with this header that decodes to silence: no bits
// allocated (Layers I and II) or empty granules (Layer III), everything after
// the header zero, and the CRC filled in when the header asks for one.
QByteArray SilentFrame(const std::uint8_t* header, std::int32_t length);

} // namespace kelbrin::save_frame
