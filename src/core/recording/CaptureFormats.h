#pragma once
// The PCM format the recorder captures into the buffer file, derived the same
// way by the editor and the encoder server: with a codec, the chosen record's
// channels and rate at 8 bits per channel (8-bit mono, 16-bit stereo); with
// LAME, 16-bit samples at the encoder's rate and channels.

#include "platform/codecs/WaveFormat.h"

namespace kelbrin {

struct RecordingConfiguration;

// The capture (and conversion source) format for a codec destination format.
WaveFormatEx CodecSourceFormat(const WaveFormatEx& destination);

// The capture format for LAME, from what ConfigureLameEncoder left in the
// shared state. The stored codec record is not touched.
WaveFormatEx LameCaptureFormat(const RecordingConfiguration& recording);

// The format tag of what a recording produces: MPEG Layer-3 with LAME, else
// the tag of the shared codec record.
std::uint16_t RecordedFormatTag(const RecordingConfiguration& recording, bool lameEngine);

} // namespace kelbrin
