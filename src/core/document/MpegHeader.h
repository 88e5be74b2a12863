#pragma once
// The MPEG audio frame header as the editor reads it, and the numbers derived
// from it: bit rate, frame length and frame duration.
//
// Header bytes are numbered 1 to 4; byte 1 is always 0xFF.
//   byte 2: 0xE0 sync, 0x18 version (0x18 MPEG-1, 0x10 MPEG-2, 0x00 MPEG-2.5,
//           0x08 reserved), 0x06 layer (0x06 I, 0x04 II, 0x02 III), 0x01 protection
//   byte 3: 0xF0 bit-rate index, 0x0C sampling index, 0x02 padding, 0x01 private
//   byte 4: channel mode, mode extension, copyright, original, emphasis
//
// Timing convention: a frame counts as 384 (Layer I) or 1152 samples at the
// rate HeaderSampleRate gives, chosen so that one frame lasts what it really
// lasts (an MPEG-2 Layer III frame of 576 samples at 22050 Hz is timed as 1152
// samples at 44100 Hz).

#include <QString>
#include <array>
#include <cstdint>

namespace kelbrin {

class cPozycjaPlikow;

// Bit rates in kbit/s for indexes 0-14 (index 0 = free format), in this order:
// MPEG-1 Layer I, MPEG-1 Layer II, MPEG-1 Layer III, MPEG-2 Layer I,
// MPEG-2 Layers II and III. MPEG-2.5 uses the MPEG-2 tables.
const std::array<std::array<std::int32_t, 15>, 5>& BitrateTables();

namespace mpeg {

constexpr std::uint8_t kVersionMpeg1 = 0x18;
constexpr std::uint8_t kVersionMpeg2 = 0x10;
constexpr std::uint8_t kVersionMpeg25 = 0x00;
constexpr std::uint8_t kVersionReserved = 0x08;
constexpr std::uint8_t kLayer1 = 0x06;
constexpr std::uint8_t kLayer2 = 0x04;
constexpr std::uint8_t kLayer3 = 0x02;

inline std::uint8_t Version(std::uint8_t byte2) {
    return byte2 & 0x18;
}
inline std::uint8_t Layer(std::uint8_t byte2) {
    return byte2 & 0x06;
}
inline int BitrateIndex(std::uint8_t byte3) {
    return byte3 >> 4;
}
inline int SamplingIndex(std::uint8_t byte3) {
    return (byte3 >> 2) & 0x03;
}
inline int Padding(std::uint8_t byte3) {
    return (byte3 >> 1) & 0x01;
}

// The probe's test of a possible header: sync, a layer, a bit-rate index of
// 1-14 (free format has no length to walk by), a sampling index and a version
// that exist.
bool IsCandidate(const std::uint8_t* header);

// Bit rate in bit/s (0 for index 0 or 15).
std::int32_t Bitrate(std::uint8_t byte2, std::uint8_t byte3);
// The sampling index's MPEG-1 rate: 44100, 48000, 32000, or 0 for index 3.
std::int32_t Mpeg1Rate(std::uint8_t byte3);
// The real sampling rate: the MPEG-1 rate, halved for MPEG-2, quartered for MPEG-2.5.
std::int32_t RealRate(std::uint8_t byte2, std::uint8_t byte3);
// 384 for Layer I, else 1152 (the timing convention above).
std::int32_t SamplesPerFrame(std::uint8_t byte2);

// Length in bytes used to walk from frame to frame, padding included. Layer I
// is exact; Layers II and III are rounded to the nearest byte, which may be one
// byte longer than the frame (the scanner allows for that).
std::int32_t FrameLength(std::uint8_t byte2, std::uint8_t byte3);
// The same without the padding slot.
std::int32_t UnpaddedFrameLength(std::uint8_t byte2, std::uint8_t byte3);
// The bytes the frame really takes, which is where the next header stands:
// its slots cut down to whole ones, not rounded, plus the padding slot.
std::int32_t ExactFrameLength(std::uint8_t byte2, std::uint8_t byte3);
// The stored reference length (lngD1Ramki): the unpadded length rounded to the
// nearest byte, Layer I included.
std::int32_t NominalFrameLength(std::uint8_t byte2, std::uint8_t byte3);
// The mean frame length of a constant-bit-rate stream: exact when its frames
// are padded to keep the rate, else the unpadded length.
double MeanFrameLength(std::uint8_t byte2, std::uint8_t byte3, bool padded);

} // namespace mpeg

// The sampling rate for timing, from the file's reference header: the MPEG-1
// rate for MPEG-1, the real rate for Layers I and II of the other versions, and
// twice the real rate for their Layer III.
std::int32_t HeaderSampleRate(const cPozycjaPlikow& file);
// samples x frames / HeaderSampleRate. std::domain_error when the rate is 0.
float FramesToSeconds(const cPozycjaPlikow& file, std::int32_t frames);
// The ID3v1 genre name of 0-147 or 255; "" for any other number.
QString GenreName(std::int16_t number);

} // namespace kelbrin
