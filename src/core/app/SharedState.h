#pragma once
// Program-wide values that start-up and the settings loader set, and that every
// area of the editor reads. The current language lives in the text catalogue
// (Catalog().language()).

#include "platform/lame/BeConfig.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>

namespace kelbrin {

class cPozycjePlikow;
class RecorderClient;

struct SharedState {
    // Set by start-up.
    QStringList LanguageSections;          // the language file's section names, file order
    std::shared_ptr<cPozycjePlikow> OpenFiles; // the open-files collection
    std::int32_t NextFileId = 1;
    std::int32_t NextTrackNo = 1;          // number of the next new track
    std::shared_ptr<RecorderClient> Recorder;  // empty when the encoder server is unavailable
    std::int32_t RecTimeLimit = 0;         // minutes, 0 = no limit
    bool RecArgSuffixE = false;            // "-rec...e": turn the computer off afterwards

    // Loaded from the settings by LoadSettings.
    QString TempRecordFolder;
    QString RecordFolder;
    QString DestFolder;
    QString SourceFolder;
    bool UseOldAlgorithm = false;
    std::int32_t CopyChunkSize = 65535;
    std::int32_t MoveStep = 5;
    std::int32_t MouseSensitivity = 150;
    float OverTakeSeconds = 0.15f;
    std::int32_t CaptureDevice = -1;
    QByteArray RecordFormat = QByteArray(68, '\0'); // the chosen codec's WAVEFORMATEX

    // Left by ConfigureLameEncoder: the encoder's record, rate and channel mode.
    BE_CONFIG LameConfig;
    std::uint32_t EncoderSampleRate = 0;
    std::uint8_t EncoderChannelMode = 0;

    // Filled from the audio device list.
    QStringList SoundCards;
    bool UseDefaultRenderer = true;
};

SharedState& Shared();
// Back to a fresh state; tests call it between cases.
void ResetSharedState();

} // namespace kelbrin
