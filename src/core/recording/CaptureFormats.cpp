#include "CaptureFormats.h"

#include "RecordingConfiguration.h"
#include "platform/lame/BeConfig.h"

namespace kelbrin {

WaveFormatEx CodecSourceFormat(const WaveFormatEx& destination) {
    WaveFormatEx f;
    f.wFormatTag = wave::kPcm;
    f.nChannels = destination.nChannels;
    f.nSamplesPerSec = destination.nSamplesPerSec;
    f.wBitsPerSample = static_cast<std::uint16_t>(8 * destination.nChannels);
    f.nBlockAlign = destination.nChannels == 1 ? 1 : 4;
    f.nAvgBytesPerSec = f.nSamplesPerSec * f.nBlockAlign;
    return f;
}

WaveFormatEx LameCaptureFormat(const RecordingConfiguration& recording) {
    const std::uint16_t channels = recording.EncoderChannelMode == BE_MP3_MODE_MONO ? 1 : 2;
    return WaveFormatEx::pcm(channels, recording.EncoderSampleRate, 16);
}

std::uint16_t RecordedFormatTag(const RecordingConfiguration& recording, bool lameEngine) {
    if (lameEngine)
        return wave::kMpegLayer3;
    return WaveFormatEx::fromRecord(recording.RecordFormat).wFormatTag;
}

} // namespace kelbrin
