#include "MediaPlatform.h"

#include "GstMediaPlatform.h"
#include "PlaybackGraph.h"

#include <cmath>

namespace kelbrin {

double GainOfVolume(int hundredthsDb) {
    if (hundredthsDb <= -10000)
        return 0.0;
    return std::pow(10.0, std::min(hundredthsDb, 0) / 2000.0);
}

namespace {
std::unique_ptr<MediaPlatform>& platformSlot() {
    static std::unique_ptr<MediaPlatform> platform;
    return platform;
}
} // namespace

MediaPlatform& Media() {
    auto& slot = platformSlot();
    if (!slot)
        slot = std::make_unique<GstMediaPlatform>();
    return *slot;
}

std::unique_ptr<MediaPlatform> SetMediaPlatform(std::unique_ptr<MediaPlatform> platform) {
    auto previous = std::move(platformSlot());
    platformSlot() = std::move(platform);
    return previous;
}

} // namespace kelbrin
