#include "SpeechParameters.h"

#include "core/app/Numbers.h"
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
    p.threshold = ReadValue("ProgAkc", defaults.threshold);
    p.windowLength = ReadValue("RecMaksPr", defaults.windowLength);
    p.minimumJump = ReadValue("RecDiffPr", defaults.minimumJump);
    p.crossingLevel = ReadValue("RecMinWartPr", defaults.crossingLevel);
    p.periodMs = ReadValue("RecNerwPeriod", defaults.periodMs);
    p.gainWhileSpeaking = ReadValue("RecMuteVol", defaults.gainWhileSpeaking);
    return p.clamped();
}

void SpeechParameters::save() const {
    SaveSetting(QStringLiteral("ProgAkc"), QString::number(threshold));
    SaveSetting(QStringLiteral("RecMaksPr"), QString::number(windowLength));
    SaveSetting(QStringLiteral("RecDiffPr"), QString::number(minimumJump));
    SaveSetting(QStringLiteral("RecMinWartPr"), QString::number(crossingLevel));
    SaveSetting(QStringLiteral("RecNerwPeriod"), QString::number(periodMs));
    SaveSetting(QStringLiteral("RecMuteVol"), QString::number(gainWhileSpeaking));
}

} // namespace kelbrin
