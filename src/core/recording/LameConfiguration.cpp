#include "LameConfiguration.h"

#include "LameTables.h"
#include "core/app/MessageService.h"
#include "core/app/Numbers.h"
#include "RecordingConfiguration.h"
#include "platform/lame/LameLibrary.h"
#include "core/app/SettingsKeys.h"
#include "platform/settings/SettingsStore.h"

#include <algorithm>

namespace kelbrin {

namespace {

double number(const char* key, const char* defaultValue) {
    return Val(GetSetting(QString::fromLatin1(key), QString::fromLatin1(defaultValue)));
}
std::int32_t whole(const char* key, const char* defaultValue) {
    return ValLong(GetSetting(QString::fromLatin1(key), QString::fromLatin1(defaultValue)));
}

} // namespace

LameSettings ReadLameSettings() {
    LameSettings s;
    s.mpegVersion = number(settingkeys::kLameMPEGver, "0");
    s.sampleRate = number(settingkeys::kLameSampleRate, "1");
    s.chanMode = whole(settingkeys::kLameChanMode, "1");
    s.qualHigh = number(settingkeys::kLameQualHigh, "13");
    s.vbr = whole(settingkeys::kLameVBR, "0");
    s.qualLow = number(settingkeys::kLameQualLow, "0");
    s.bitRate = number(settingkeys::kLameBitRate, "8");
    s.qualCBR = whole(settingkeys::kLameQualCBR, "2");
    s.original = whole(settingkeys::kLameOry, "1");
    s.privateFlag = whole(settingkeys::kLamePriv, "1");
    s.copyright = whole(settingkeys::kLameCopy, "1");
    s.crc = whole(settingkeys::kLameCRC, "0");
    s.padding = whole(settingkeys::kLamePad, "0");
    s.vbrHeader = whole(settingkeys::kLameVBXing, "1");
    s.abr = whole(settingkeys::kLameABR, "0");
    s.vbrQuality = whole(settingkeys::kLameQual, "5");
    return s;
}

BE_CONFIG BuildLameConfig(const LameSettings& s) {
    const LameMpegVersion version = LameVersionOf(s.mpegVersion);
    BE_CONFIG c;
    c.dwSampleRate = LameSampleRateAt(version, s.sampleRate);
    c.dwReSampleRate = 0;
    c.nMode = static_cast<std::uint8_t>(s.chanMode);
    c.dwMaxBitrate = LameBitRateAt(version, s.qualHigh);
    c.dwBitrate = LameBitRateAt(version, s.vbr == 1 ? s.qualLow : s.bitRate);
    // The window stores the two ends of the VBR range separately; the encoder
    // refuses a minimum above the maximum.
    if (s.vbr != 0 && c.dwBitrate > c.dwMaxBitrate)
        std::swap(c.dwBitrate, c.dwMaxBitrate);
    c.nPreset = s.qualCBR;
    c.dwMpegVersion = version == LameMpegVersion::Mpeg1 ? MPEG1 : MPEG2;
    c.bPrivate = s.privateFlag;
    c.bCRC = s.crc;
    c.bCopyright = s.copyright;
    c.bOriginal = s.original;
    c.bEnableVBR = s.vbr;
    if (s.vbr != 0) {
        c.bWriteVBRHeader = s.vbrHeader;
        c.nVBRQuality = static_cast<std::int16_t>(s.vbrQuality);
        if (s.abr != 0) {
            const std::uint32_t mean = std::clamp(LameBitRateAt(version, s.bitRate), c.dwBitrate, c.dwMaxBitrate);
            c.nVbrMethod = VBR_METHOD_ABR;
            c.dwVbrAbr_bps = mean * 1000;
        } else {
            c.nVbrMethod = VBR_METHOD_DEFAULT;
        }
    }
    return c;
}

std::int32_t ConfigureLameEncoder(RecordingConfiguration& recording, bool showErrors) {
    const LameSettings settings = ReadLameSettings();
    recording.LameConfig = BuildLameConfig(settings);
    recording.EncoderSampleRate = recording.LameConfig.dwSampleRate;
    recording.EncoderChannelMode = static_cast<std::uint8_t>(settings.chanMode);

    LameLibrary& lame = Lame();
    const LameLibraryState state = lame.state();
    if (!state.loaded) {
        if (showErrors && state.errorInLoading)
            ShowMessage(state.description, mb::Critical, QString());
        return 0;
    }
    std::uint32_t samples = 0;
    std::uint32_t outputSize = 0;
    HBE_STREAM stream = 0;
    const BE_ERR error = lame.beInitStream(recording.LameConfig, &samples, &outputSize, &stream);
    if (error != BE_ERR_SUCCESSFUL) {
        ShowMessage(QStringLiteral("ERR %1").arg(error), mb::Critical, QString());
        return 0;
    }
    lame.beCloseStream(stream);
    const std::int64_t bytes =
        static_cast<std::int64_t>(samples) * (recording.EncoderChannelMode == BE_MP3_MODE_MONO ? 2 : 4);
    return static_cast<std::int32_t>(std::min<std::int64_t>(bytes, INT32_MAX));
}

QString LameVersionText(const BE_VERSION& v) {
    const qsizetype length = qstrnlen(v.zHomepage, sizeof v.zHomepage);
    return QStringLiteral("Lame DLL Version %1.%2\rLame Engine Version %3.%4\r"
                          "DLL Release Date %5-%6-%7\rLame Homepage URL %8")
        .arg(v.byDLLMajorVersion)
        .arg(v.byDLLMinorVersion)
        .arg(v.byMajorVersion)
        .arg(v.byMinorVersion)
        .arg(v.wYear)
        .arg(v.byMonth)
        .arg(v.byDay)
        .arg(QString::fromLatin1(v.zHomepage, length));
}

void ShowLameVersion() {
    LameLibrary& lame = Lame();
    const LameLibraryState state = lame.state();
    if (!state.loaded && state.errorInLoading) {
        ShowMessage(state.description, mb::Critical, QString());
        return;
    }
    BE_VERSION version;
    if (state.loaded)
        lame.beVersion(&version);
    ShowMessage(LameVersionText(version), mb::Information, QString());
}

} // namespace kelbrin
