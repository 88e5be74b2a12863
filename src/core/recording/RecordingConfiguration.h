#pragma once
// What a recording is made with: the folders and capture format from the
// settings, the encoder's record left by ConfigureLameEncoder, and the
// recording command line's time limit and turn-off request.

#include "platform/lame/BeConfig.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace kelbrin {

struct RecordingConfiguration {
    QString TempRecordFolder;
    // The buffer folder the settings name, while the buffer lies in the
    // user's own folder in its place (others may write in it, or it cannot be
    // made); the recorder says so once a run.
    QString RefusedBufferFolder;
    bool RefusedBufferFolderTold = false;
    QString RecordFolder;
    std::int32_t CaptureDevice = -1;
    QByteArray RecordFormat = QByteArray(68, '\0'); // the chosen codec's WAVEFORMATEX

    BE_CONFIG LameConfig;
    std::uint32_t EncoderSampleRate = 0;
    std::uint8_t EncoderChannelMode = 0;

    std::int32_t RecTimeLimit = 0; // minutes, 0 = no limit
    bool RecArgSuffixE = false;    // "-rec...e": turn the computer off afterwards
};

} // namespace kelbrin
