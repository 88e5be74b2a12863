#include "TempoTap.h"

#include "platform/media/Clock.h"

namespace kelbrin {

std::optional<std::int32_t> TempoTap::Tap() {
    const qint64 now = m_clock.milliseconds();
    std::optional<std::int32_t> mean;
    if (!tapping) {
        lastTapMs = now;
    } else {
        const qint64 interval = now - lastTapMs;
        samples << (interval > 0 ? static_cast<std::int32_t>(60000 / interval) : 0);
        qint64 sum = 0;
        for (qsizetype i = 1; i < samples.size(); ++i)
            sum += samples[i];
        mean = static_cast<std::int32_t>(sum / (samples.size() - 1));
    }
    tapping = !tapping;
    return mean;
}

} // namespace kelbrin
