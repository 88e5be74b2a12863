#include "RecordingOptions.h"

#include "LameTables.h"
#include "core/app/AppSettings.h"
#include "core/app/Numbers.h"
#include "core/app/PathProcedures.h"
#include "RecordingConfiguration.h"
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
    o.lameEngine = Val(GetSetting(Key("EngineType"), QStringLiteral("1"))) != 0;
    o.mpegVersion = StoredInRange("LameMPEGver", 0, 0, kMpegVersionCount - 1);
    const LameListSelection lists = StoredLameListSelection(o.mpegVersion);
    o.sampleRate = lists.sampleRate;
    o.bitRate = lists.bitRate;
    o.qualLow = lists.qualLow;
    o.qualHigh = lists.qualHigh;
    o.chanMode = StoredInRange("LameChanMode", 1, 0, kChannelModeCount - 1);
    o.qualCBR = StoredInRange("LameQualCBR", 2, 0, kQualityPresetCount - 1);
    o.vbr = StoredCheck("LameVBR", false);
    o.abr = StoredCheck("LameABR", false);
    o.vbrHeader = StoredCheck("LameVBXing", true);
    o.vbrQuality = StoredInRange("LameQual", 5, kVbrQualityMin, kVbrQualityMax);
    o.crc = StoredCheck("LameCRC", false);
    o.privateFlag = StoredCheck("LamePriv", true);
    o.copyright = StoredCheck("LameCopy", true);
    o.original = StoredCheck("LameOry", true);
    o.padding = StoredCheck("LamePad", false);
    o.lameBufLen = StoredInRange("LameBufLen", 25, kSpinMin, kSpinMax);
    o.recBufor = StoredInRange("RecBufor", 500, kSpinMin, kSpinMax);
    o.speech = StoredCheck("RecSpeech", false);
    o.writeWav = StoredCheck("RecLast", false);
    o.destFormat = GetSetting(Key("DestFormat"));
    o.deviceIn = StoredInRange("DeviceIn", 0, 0, std::max(0, deviceCount));
    o.recordFolder = FolderOrStored(GetSetting(Key("RecDir")), "RecDir");
    o.bufferFolder = FolderOrStored(GetSetting(Key("TempRecDir")), "TempRecDir");
    o.prefix = GetSetting(Key("RecPrefix"), QStringLiteral("R")).left(kPrefixMaxLength);
    o.autoPauseText = GetSetting(Key("AutoPauseRec"), QStringLiteral("0"));
    o.splitSizeText = GetSetting(Key("NewFileRec"), QStringLiteral("0"));
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
    s.sampleRate = PositionOf(rates, LameSampleRateAt(version, Val(GetSetting(Key("LameSampleRate"), QStringLiteral("1")))));
    s.bitRate = bitRateAt("LameBitRate", "8");
    s.qualLow = bitRateAt("LameQualLow", "0");
    s.qualHigh = bitRateAt("LameQualHigh", "13");
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
    SaveNumber("NewFileRec", splitSize);
    SaveNumber("AutoPauseRec", AutoPauseSeconds(o.autoPauseText));

    SaveCheck("LameCRC", o.crc);
    SaveCheck("LamePriv", o.privateFlag);
    SaveCheck("LameCopy", o.copyright);
    SaveCheck("LameOry", o.original);
    SaveCheck("LamePad", o.padding);
    SaveNumber("LameQual", std::clamp(o.vbrQuality, kVbrQualityMin, kVbrQualityMax));
    SaveCheck("LameVBXing", o.vbrHeader);
    SaveCheck("LameVBR", o.vbr);
    SaveCheck("LameABR", o.abr);
    SaveCheck("RecSpeech", o.speech);
    SaveCheck("EngineType", o.lameEngine);

    const QString bufferFolder = WithTrailingSlash(FolderOrStored(o.bufferFolder, "TempRecDir"));
    SaveSetting(Key("TempRecDir"), bufferFolder);
    recording.TempRecordFolder = bufferFolder;

    SaveCheck("RecLast", o.writeWav);
    SaveNumber("RecBufor", std::clamp(o.recBufor, kSpinMin, kSpinMax));

    SaveNumber("LameQualCBR", std::max(0, o.qualCBR));
    SaveNumber("LameChanMode", std::max(0, o.chanMode));
    // The rate lists count into the row of this version; the encoder reads
    // the indices against the same row.
    SaveNumber("LameMPEGver", std::clamp(o.mpegVersion, 0, kMpegVersionCount - 1));
    SaveNumber("LameSampleRate", std::max(0, o.sampleRate));
    SaveNumber("LameBitRate", std::max(0, o.bitRate));
    SaveNumber("LameQualLow", std::max(0, o.qualLow));
    SaveNumber("LameQualHigh", std::max(0, o.qualHigh));
    SaveNumber("LameBufLen", std::clamp(o.lameBufLen, kSpinMin, kSpinMax));

    if (!o.recordFolder.trimmed().isEmpty()) {
        SaveSetting(Key("RecDir"), o.recordFolder);
        recording.RecordFolder = WithTrailingSlash(o.recordFolder);
    }

    const int device = std::max(0, o.deviceIn);
    SaveNumber("DeviceIn", device);
    recording.CaptureDevice = device - 1;

    SaveSetting(Key("RecPrefix"), CleanRecordPrefix(o.prefix));
    Settings().sync();
}

} // namespace kelbrin
