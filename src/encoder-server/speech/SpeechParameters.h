#pragma once
// The six tuning values of the speech detector. They live in the settings
// store between recordings and on the server window's sliders while one runs.

#include <cstdint>

namespace kelbrin {

struct SpeechParameters {
    std::int32_t threshold = 12000;         // ProgAkc: the coefficient below which a segment is open
    std::int32_t windowLength = 2000;       // RecMaksPr: values per window minus one (W)
    std::int32_t minimumJump = 16000;       // RecDiffPr: smallest jump between two window maxima (D)
    std::int32_t crossingLevel = 5000;      // RecMinWartPr: the level a jump must cross (L)
    std::int32_t periodMs = 4000;           // RecNerwPeriod: length of one evaluation period
    std::int32_t gainWhileSpeaking = 30000; // RecMuteVol: shown and kept for the mixer diagnostics

    // Ranges of the sliders; loaded values are clamped into them.
    static constexpr std::int32_t kThresholdMax = 32767;
    static constexpr std::int32_t kWindowLengthMax = 20000;
    static constexpr std::int32_t kMinimumJumpMax = 32767;
    static constexpr std::int32_t kCrossingLevelMax = 10000;
    static constexpr std::int32_t kPeriodMax = 32767;
    static constexpr std::int32_t kGainMax = 32767;

    // Every value clamped into its slider's range.
    SpeechParameters clamped() const;

    // Reads the values from the settings store (defaults above for missing keys).
    static SpeechParameters load();
    // Writes them back, in the order the sliders are listed above.
    void save() const;

    bool operator==(const SpeechParameters&) const = default;
};

} // namespace kelbrin
