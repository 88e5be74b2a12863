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

// Where a Layer III frame's main data starts, in bytes back from its side
// information (main_data_begin): the bit reservoir it borrows from the frames
// before it. 0 for the other layers and for frames too short to tell.
std::int32_t MainDataBegin(const QByteArray& frame);

// The bytes a Layer III frame lends to the frames after it: all that follows
// its side information. 0 for the other layers.
std::int32_t MainDataBytes(const QByteArray& frame);

// The frame made silent: the silent frame of its header and length, but a
// Layer III frame keeps the bytes after its side information. It spends none
// of them itself, and the frames after it may borrow them: zeroed, they would
// decode as noise.
QByteArray SilencedFrame(const QByteArray& frame);

} // namespace kelbrin::save_frame
