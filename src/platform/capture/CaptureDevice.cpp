#include "CaptureDevice.h"

#include "GstCaptureDevice.h"

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
        slot = std::make_unique<GstCapturePlatform>();
    return *slot;
}

std::unique_ptr<CapturePlatform> SetCapturePlatform(std::unique_ptr<CapturePlatform> platform) {
    auto previous = std::move(platformSlot());
    platformSlot() = std::move(platform);
    return previous;
}

QString CaptureSourceOverride() {
    return QString::fromLocal8Bit(qgetenv("KELBRIN_CAPTURE_SOURCE")).trimmed();
}

} // namespace kelbrin
