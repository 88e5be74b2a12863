#pragma once
// The encoder settings (the Lame* keys) turned into LAME's configuration record,
// and the encoder's input chunk learned from a test stream. The encoder server
// builds its record with the same BuildLameConfig from the same keys.

#include "platform/lame/BeConfig.h"

#include <QString>
#include <cstdint>

namespace kelbrin {

struct RecordingConfiguration;

// The stored encoder settings as numbers (leading-number rule). Indices keep
// their exact value: only a whole index inside its row counts.
struct LameSettings {
    double mpegVersion = 0;  // LameMPEGver: row of the rate tables
    double sampleRate = 1;   // LameSampleRate
    std::int32_t chanMode = 1;
    double qualHigh = 13;    // LameQualHigh: maximum VBR bit rate
    std::int32_t vbr = 0;
    double qualLow = 0;      // LameQualLow: minimum VBR bit rate
    double bitRate = 8;      // LameBitRate: constant bit rate, and ABR's mean
    std::int32_t qualCBR = 2;
    std::int32_t original = 1;
    std::int32_t privateFlag = 1;
    std::int32_t copyright = 1;
    std::int32_t crc = 0;
    std::int32_t padding = 0;
    std::int32_t vbrHeader = 1;
    std::int32_t abr = 0;
    std::int32_t vbrQuality = 5;
};

// Reads every key afresh from the settings store.
LameSettings ReadLameSettings();

// The record for these settings. Rates and bit rates come from the row of the
// stored MPEG version. With VBR, ABR selects LAME's ABR method with the
// constant bit rate (kept inside the VBR range) as its mean. LAME sets the
// padding bit of each frame itself, so the padding flag has no field.
BE_CONFIG BuildLameConfig(const LameSettings& settings);

// Builds the record from the settings into the shared LameConfig,
// EncoderSampleRate and EncoderChannelMode, opens and closes a test stream, and
// returns the PCM bytes of one encoder input chunk (samples x 2 for mono, x 4
// otherwise), or 0 when the encoder cannot be used. An encoder error code is
// always shown ("ERR " and the code); a library that will not load only when
// showErrors is set.
std::int32_t ConfigureLameEncoder(RecordingConfiguration& recording, bool showErrors);

// The version box text: four CR-separated lines.
QString LameVersionText(const BE_VERSION& version);
// Asks the library for its version and shows the box (or why it cannot load).
void ShowLameVersion();

} // namespace kelbrin
