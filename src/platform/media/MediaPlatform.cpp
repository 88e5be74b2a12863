#include "MediaPlatform.h"

#include "MediaModule.h"

namespace kelbrin {

namespace {
std::unique_ptr<MediaPlatform>& platformSlot() {
    static std::unique_ptr<MediaPlatform> platform;
    return platform;
}
} // namespace

MediaPlatform& Media() {
    auto& slot = platformSlot();
    if (!slot)
        slot = MediaModule().createMediaPlatform();
    return *slot;
}

std::unique_ptr<MediaPlatform> SetMediaPlatform(std::unique_ptr<MediaPlatform> platform) {
    auto previous = std::move(platformSlot());
    platformSlot() = std::move(platform);
    return previous;
}

} // namespace kelbrin
