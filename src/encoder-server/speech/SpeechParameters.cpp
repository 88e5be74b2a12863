#include "SpeechParameters.h"

#include "core/app/Numbers.h"
#include "core/app/SettingsKeys.h"
#include "platform/settings/SettingsStore.h"

namespace kelbrin {

namespace {

std::int32_t ReadValue(const char* key, std::int32_t fallback) {
    return ValLong(GetSetting(QString::fromLatin1(key), QString::number(fallback)));
}

} // namespace

SpeechParameters SpeechParameters::clamped() const {
    SpeechParameters p;
    p.threshold = ClampTo(threshold, 0, kThresholdMax);
    p.windowLength = ClampTo(windowLength, 0, kWindowLengthMax);
    p.minimumJump = ClampTo(minimumJump, 0, kMinimumJumpMax);
    p.crossingLevel = ClampTo(crossingLevel, 0, kCrossingLevelMax);
    p.periodMs = ClampTo(periodMs, 0, kPeriodMax);
    p.gainWhileSpeaking = ClampTo(gainWhileSpeaking, 0, kGainMax);
    return p;
}

SpeechParameters SpeechParameters::load() {
    const SpeechParameters defaults;
    SpeechParameters p;
    p.threshold = ReadValue(settingkeys::kProgAkc, defaults.threshold);
    p.windowLength = ReadValue(settingkeys::kRecMaksPr, defaults.windowLength);
    p.minimumJump = ReadValue(settingkeys::kRecDiffPr, defaults.minimumJump);
    p.crossingLevel = ReadValue(settingkeys::kRecMinWartPr, defaults.crossingLevel);
    p.periodMs = ReadValue(settingkeys::kRecNerwPeriod, defaults.periodMs);
    p.gainWhileSpeaking = ReadValue(settingkeys::kRecMuteVol, defaults.gainWhileSpeaking);
    return p.clamped();
}

void SpeechParameters::save() const {
    SaveSetting(settingkeys::kProgAkc, QString::number(threshold));
    SaveSetting(settingkeys::kRecMaksPr, QString::number(windowLength));
    SaveSetting(settingkeys::kRecDiffPr, QString::number(minimumJump));
    SaveSetting(settingkeys::kRecMinWartPr, QString::number(crossingLevel));
    SaveSetting(settingkeys::kRecNerwPeriod, QString::number(periodMs));
    SaveSetting(settingkeys::kRecMuteVol, QString::number(gainWhileSpeaking));
}

} // namespace kelbrin
