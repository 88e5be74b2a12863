#include "RecordingOptions.h"

#include "LameTables.h"
#include "core/app/AppSettings.h"
#include "core/app/Numbers.h"
#include "core/app/PathProcedures.h"
#include "RecordingConfiguration.h"
#include "core/app/SettingsKeys.h"
#include "platform/settings/SettingsStore.h"
#include "platform/shell/SystemFolders.h"

#include <algorithm>
#include <cmath>

namespace kelbrin {

namespace {

QString Key(const char* name) { return QLatin1String(name); }

// The stored number when it is a whole value within low..high, else `fallback`.
int StoredInRange(const char* key, int fallback, int low, int high) {
    const double value = Val(GetSetting(Key(key), QString::number(fallback)));
    if (value != std::floor(value) || value < low || value > high)
        return fallback;
    return static_cast<int>(value);
}

bool StoredCheck(const char* key, bool fallback) {
    return StoredInRange(key, fallback ? 1 : 0, 0, 1) == 1;
}

void SaveNumber(const char* key, std::int64_t value) { SaveSetting(Key(key), QString::number(value)); }
void SaveCheck(const char* key, bool ticked) { SaveSetting(Key(key), ticked ? QStringLiteral("1") : QStringLiteral("0")); }

// The position in `values` of the value the encoder takes for a stored index.
int PositionOf(const QList<std::uint32_t>& values, std::uint32_t used) {
    const auto at = values.indexOf(used);
    return at < 0 ? 0 : static_cast<int>(at);
}

QString FolderOrStored(const QString& shown, const char* key) {
    if (!shown.trimmed().isEmpty())
        return shown;
    const QString stored = GetSetting(Key(key));
    return stored.trimmed().isEmpty() ? DefaultRecordingFolder() : stored;
}

} // namespace

QString DefaultRecordingFolder() { return DefaultFolderRoot(DefaultLoadSettingsEnvironment(HostFolders())); }

RecordingOptions LoadRecordingOptions(int deviceCount) {
    RecordingOptions o;
    o.lameEngine = Val(GetSetting(Key(settingkeys::kEngineType), QStringLiteral("1"))) != 0;
    o.mpegVersion = StoredInRange(settingkeys::kLameMPEGver, 0, 0, kMpegVersionCount - 1);
    const LameListSelection lists = StoredLameListSelection(o.mpegVersion);
    o.sampleRate = lists.sampleRate;
    o.bitRate = lists.bitRate;
    o.qualLow = lists.qualLow;
    o.qualHigh = lists.qualHigh;
    o.chanMode = StoredInRange(settingkeys::kLameChanMode, 1, 0, kChannelModeCount - 1);
    o.qualCBR = StoredInRange(settingkeys::kLameQualCBR, 2, 0, kQualityPresetCount - 1);
    o.vbr = StoredCheck(settingkeys::kLameVBR, false);
    o.abr = StoredCheck(settingkeys::kLameABR, false);
    o.vbrHeader = StoredCheck(settingkeys::kLameVBXing, true);
    o.vbrQuality = StoredInRange(settingkeys::kLameQual, 5, kVbrQualityMin, kVbrQualityMax);
    o.crc = StoredCheck(settingkeys::kLameCRC, false);
    o.privateFlag = StoredCheck(settingkeys::kLamePriv, true);
    o.copyright = StoredCheck(settingkeys::kLameCopy, true);
    o.original = StoredCheck(settingkeys::kLameOry, true);
    o.padding = StoredCheck(settingkeys::kLamePad, false);
    o.lameBufLen = StoredInRange(settingkeys::kLameBufLen, 25, kSpinMin, kSpinMax);
    o.recBufor = StoredInRange(settingkeys::kRecBufor, 500, kSpinMin, kSpinMax);
    o.speech = StoredCheck(settingkeys::kRecSpeech, false);
    o.writeWav = StoredCheck(settingkeys::kRecLast, false);
    o.destFormat = GetSetting(Key(settingkeys::kDestFormat));
    o.deviceIn = StoredInRange(settingkeys::kDeviceIn, 0, 0, std::max(0, deviceCount));
    o.recordFolder = FolderOrStored(GetSetting(Key(settingkeys::kRecDir)), settingkeys::kRecDir);
    o.bufferFolder = FolderOrStored(GetSetting(Key(settingkeys::kTempRecDir)), settingkeys::kTempRecDir);
    o.prefix = GetSetting(Key(settingkeys::kRecPrefix), QStringLiteral("R")).left(kPrefixMaxLength);
    o.autoPauseText = GetSetting(Key(settingkeys::kAutoPauseRec), QStringLiteral("0"));
    o.splitSizeText = GetSetting(Key(settingkeys::kNewFileRec), QStringLiteral("0"));
    return o;
}

LameListSelection StoredLameListSelection(int mpegVersion) {
    const LameMpegVersion version = LameVersionOf(mpegVersion);
    const auto& rates = LameSampleRates(version);
    const auto& bitRates = LameBitRates(version);
    auto bitRateAt = [&](const char* key, const char* fallback) {
        return PositionOf(bitRates, LameBitRateAt(version, Val(GetSetting(Key(key), QLatin1String(fallback)))));
    };
    LameListSelection s;
    s.sampleRate = PositionOf(rates, LameSampleRateAt(version, Val(GetSetting(Key(settingkeys::kLameSampleRate), QStringLiteral("1")))));
    s.bitRate = bitRateAt(settingkeys::kLameBitRate, "8");
    s.qualLow = bitRateAt(settingkeys::kLameQualLow, "0");
    s.qualHigh = bitRateAt(settingkeys::kLameQualHigh, "13");
    return s;
}

QString CleanRecordPrefix(const QString& prefix) {
    static const QString forbidden = QStringLiteral("|><\"*?/:\\");
    QString clean;
    for (const QChar c : prefix)
        if (!forbidden.contains(c))
            clean += c;
    return clean;
}

int AutoPauseSeconds(const QString& text) {
    return static_cast<int>(std::clamp<std::int64_t>(RoundHalfEven(Val(text)), 0, kAutoPauseMax));
}

QString LameBlockSizeText(std::int32_t chunkBytes, int multiplier) {
    const std::int64_t bytes = RoundHalfEven(static_cast<double>(chunkBytes) * multiplier);
    return QString::number(bytes / 1024) + QStringLiteral(" KB");
}

void SaveRecordingOptions(RecordingConfiguration& recording, const RecordingOptions& o) {
    const std::int64_t splitSize = std::max<std::int64_t>(0, RoundHalfEven(Val(o.splitSizeText)));
    SaveNumber(settingkeys::kNewFileRec, splitSize);
    SaveNumber(settingkeys::kAutoPauseRec, AutoPauseSeconds(o.autoPauseText));

    SaveCheck(settingkeys::kLameCRC, o.crc);
    SaveCheck(settingkeys::kLamePriv, o.privateFlag);
    SaveCheck(settingkeys::kLameCopy, o.copyright);
    SaveCheck(settingkeys::kLameOry, o.original);
    SaveCheck(settingkeys::kLamePad, o.padding);
    SaveNumber(settingkeys::kLameQual, std::clamp(o.vbrQuality, kVbrQualityMin, kVbrQualityMax));
    SaveCheck(settingkeys::kLameVBXing, o.vbrHeader);
    SaveCheck(settingkeys::kLameVBR, o.vbr);
    SaveCheck(settingkeys::kLameABR, o.abr);
    SaveCheck(settingkeys::kRecSpeech, o.speech);
    SaveCheck(settingkeys::kEngineType, o.lameEngine);

    const QString bufferFolder = WithTrailingSlash(FolderOrStored(o.bufferFolder, settingkeys::kTempRecDir));
    SaveSetting(Key(settingkeys::kTempRecDir), bufferFolder);
    recording.TempRecordFolder = bufferFolder;

    SaveCheck(settingkeys::kRecLast, o.writeWav);
    SaveNumber(settingkeys::kRecBufor, std::clamp(o.recBufor, kSpinMin, kSpinMax));

    SaveNumber(settingkeys::kLameQualCBR, std::max(0, o.qualCBR));
    SaveNumber(settingkeys::kLameChanMode, std::max(0, o.chanMode));
    // The rate lists count into the row of this version; the encoder reads
    // the indices against the same row.
    SaveNumber(settingkeys::kLameMPEGver, std::clamp(o.mpegVersion, 0, kMpegVersionCount - 1));
    SaveNumber(settingkeys::kLameSampleRate, std::max(0, o.sampleRate));
    SaveNumber(settingkeys::kLameBitRate, std::max(0, o.bitRate));
    SaveNumber(settingkeys::kLameQualLow, std::max(0, o.qualLow));
    SaveNumber(settingkeys::kLameQualHigh, std::max(0, o.qualHigh));
    SaveNumber(settingkeys::kLameBufLen, std::clamp(o.lameBufLen, kSpinMin, kSpinMax));

    if (!o.recordFolder.trimmed().isEmpty()) {
        SaveSetting(Key(settingkeys::kRecDir), o.recordFolder);
        recording.RecordFolder = WithTrailingSlash(o.recordFolder);
    }

    const int device = std::max(0, o.deviceIn);
    SaveNumber(settingkeys::kDeviceIn, device);
    recording.CaptureDevice = device - 1;

    SaveSetting(Key(settingkeys::kRecPrefix), CleanRecordPrefix(o.prefix));
    Settings().sync();
}

} // namespace kelbrin
