#include "CaptureDevice.h"

#include "platform/media/MediaModule.h"

namespace kelbrin {

namespace {
std::unique_ptr<CapturePlatform>& platformSlot() {
    static std::unique_ptr<CapturePlatform> platform;
    return platform;
}
} // namespace

CapturePlatform& Capture() {
    auto& slot = platformSlot();
    if (!slot)
        slot = MediaModule().createCapturePlatform();
    return *slot;
}

std::unique_ptr<CapturePlatform> SetCapturePlatform(std::unique_ptr<CapturePlatform> platform) {
    auto previous = std::move(platformSlot());
    platformSlot() = std::move(platform);
    return previous;
}

} // namespace kelbrin
