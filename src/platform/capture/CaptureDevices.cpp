#include "CaptureDevices.h"

#include "platform/media/MediaModule.h"

namespace kelbrin {

namespace {
std::unique_ptr<CaptureDevices>& Installed() {
    static std::unique_ptr<CaptureDevices> devices;
    return devices;
}
} // namespace

CaptureDevices& CaptureDeviceList() {
    auto& installed = Installed();
    if (!installed)
        installed = MediaModule().createCaptureDevices();
    return *installed;
}

std::unique_ptr<CaptureDevices> SetCaptureDevices(std::unique_ptr<CaptureDevices> devices) {
    auto previous = std::move(Installed());
    Installed() = std::move(devices);
    return previous;
}

} // namespace kelbrin
