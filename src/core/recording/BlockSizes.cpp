#include "BlockSizes.h"

#include "core/app/Numbers.h"
#include "core/app/SettingsKeys.h"
#include "platform/settings/SettingsStore.h"

#include <algorithm>
#include <cmath>

namespace kelbrin {

int BlockMultiplierLimit(std::int64_t unitBytes, std::int64_t bytesPerSecond, int defaultMultiplier) {
    if (unitBytes <= 0)
        return kLargestBlockMultiplier;
    std::int64_t bytes = kLargestBlockBytes;
    if (bytesPerSecond > 0)
        bytes = std::min(bytes, std::max(kLongestBlockSeconds * bytesPerSecond, defaultMultiplier * unitBytes));
    return static_cast<int>(std::clamp<std::int64_t>(bytes / unitBytes, 1, kLargestBlockMultiplier));
}

int StoredBlockMultiplier(const QString& key, int defaultMultiplier, int limit) {
    const double value = Val(GetSetting(key, QString::number(defaultMultiplier)));
    int multiplier = defaultMultiplier;
    if (value == std::floor(value) && value >= 1 && value <= kLargestBlockMultiplier)
        multiplier = static_cast<int>(value);
    return std::clamp(multiplier, 1, std::max(1, limit));
}

int CodecMultiplierLimit(const WaveFormatEx& capture) {
    return BlockMultiplierLimit(kCodecBlockUnit, capture.nAvgBytesPerSec, kDefaultCodecMultiplier);
}

std::int64_t CodecBlockBytes(const WaveFormatEx& capture) {
    const int multiplier =
        StoredBlockMultiplier(settingkeys::kRecBufor, kDefaultCodecMultiplier, CodecMultiplierLimit(capture));
    return std::int64_t{multiplier} * kCodecBlockUnit;
}

int LameMultiplierLimit(std::int32_t chunkBytes, const WaveFormatEx& capture) {
    return BlockMultiplierLimit(chunkBytes, capture.nAvgBytesPerSec, kDefaultLameMultiplier);
}

std::int64_t LameBlockBytes(std::int32_t chunkBytes, const WaveFormatEx& capture) {
    const int multiplier = StoredBlockMultiplier(settingkeys::kLameBufLen, kDefaultLameMultiplier,
                                                 LameMultiplierLimit(chunkBytes, capture));
    return std::int64_t{multiplier} * chunkBytes;
}

} // namespace kelbrin
