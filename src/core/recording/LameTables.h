#pragma once
// The sampling rates and bit rates the LAME settings offer, one row per MPEG
// version. The stored indices (LameSampleRate, LameBitRate, LameQualLow,
// LameQualHigh) count into the row of the stored version (LameMPEGver), so the
// settings window and the encoder configuration read them the same way.

#include <QList>
#include <cstdint>

namespace kelbrin {

enum class LameMpegVersion : int { Mpeg1 = 0, Mpeg2 = 1, Mpeg25 = 2 };

// The version of a stored LameMPEGver value: exactly 1 or 2 give MPEG-2 or
// MPEG-2.5, anything else MPEG-1.
LameMpegVersion LameVersionOf(double storedValue);

// Rates in Hz and bit rates in kbit/s of a version's row, in list order.
const QList<std::uint32_t>& LameSampleRates(LameMpegVersion version);
const QList<std::uint32_t>& LameBitRates(LameMpegVersion version);

// The rate of a stored index; an index that is not exactly one of the row's
// positions gives the row's middle rate (44100, 22050 or 11025 Hz).
std::uint32_t LameSampleRateAt(LameMpegVersion version, double index);
// The bit rate of a stored index; one that is not exactly a row position gives
// 128 kbit/s, or the row's highest rate where that is lower.
std::uint32_t LameBitRateAt(LameMpegVersion version, double index);

} // namespace kelbrin
