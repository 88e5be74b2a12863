#pragma once
// The size of a capture block: the unit in which the editor hands audio to the
// encoder server. Two settings set it, both as multipliers: RecBufor counts
// 512-byte units (system codec), LameBufLen the encoder's input chunks (LAME).
//
// A block far larger than the audio of a few seconds holds the whole recording
// back until it is full, so a shorter recording would end with nothing. The
// multiplier is therefore kept to blocks of at most a few seconds of audio and
// at most 16 MiB; the default multiplier is always allowed. The recorder, the
// recording settings window and the encoder server read the multipliers
// through these functions only, so they always agree on the block.

#include "platform/codecs/WaveFormat.h"

#include <QString>
#include <cstdint>

namespace kelbrin {

constexpr std::int64_t kLargestBlockBytes = 16LL * 1024 * 1024;
constexpr std::int64_t kLongestBlockSeconds = 5;
constexpr int kLargestBlockMultiplier = 32767; // what the window's spin bars reach
constexpr int kCodecBlockUnit = 512;
constexpr int kDefaultCodecMultiplier = 500;   // RecBufor
constexpr int kDefaultLameMultiplier = 25;     // LameBufLen

// The largest multiplier of `unitBytes` that keeps a block of audio at
// `bytesPerSecond` within the limits above, never below the default (when that
// fits 16 MiB) and never above kLargestBlockMultiplier. Without a unit (the
// encoder is missing) nothing can be said: kLargestBlockMultiplier.
int BlockMultiplierLimit(std::int64_t unitBytes, std::int64_t bytesPerSecond, int defaultMultiplier);

// The stored multiplier: a whole number within 1..kLargestBlockMultiplier, cut
// to `limit`; anything else (empty, not a number, below 1, beyond what the
// window can store) reads as the default, also cut to `limit`.
int StoredBlockMultiplier(const QString& key, int defaultMultiplier, int limit);

// System codec: RecBufor x 512 for the capture format (8-bit mono or 16-bit stereo).
int CodecMultiplierLimit(const WaveFormatEx& capture);
std::int64_t CodecBlockBytes(const WaveFormatEx& capture);

// LAME: LameBufLen x the encoder's input chunk for the 16-bit capture format.
int LameMultiplierLimit(std::int32_t chunkBytes, const WaveFormatEx& capture);
std::int64_t LameBlockBytes(std::int32_t chunkBytes, const WaveFormatEx& capture);

} // namespace kelbrin
