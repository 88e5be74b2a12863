// The entry of the kelbrin-media module (MediaModule.h).
#include "GstMediaDuration.h"
#include "GstMediaPlatform.h"
#include "MediaModule.h"
#include "platform/capture/CaptureDevices.h"
#include "platform/capture/GstCaptureDevice.h"

#include <QtGlobal>
#include <type_traits>

namespace {

class GstServices final : public kelbrin::MediaServices {
public:
    std::unique_ptr<kelbrin::MediaPlatform> createMediaPlatform() override {
        return std::make_unique<kelbrin::GstMediaPlatform>();
    }
    std::unique_ptr<kelbrin::MediaDurationReader> createDurationReader() override {
        return std::make_unique<kelbrin::GstMediaDurationReader>();
    }
    std::unique_ptr<kelbrin::CapturePlatform> createCapturePlatform() override {
        return std::make_unique<kelbrin::GstCapturePlatform>();
    }
    std::unique_ptr<kelbrin::CaptureDevices> createCaptureDevices() override {
        return std::make_unique<kelbrin::GstCaptureDevices>();
    }
};

} // namespace

extern "C" Q_DECL_EXPORT kelbrin::MediaServices* KelbrinMediaServices() {
    static_assert(std::is_same_v<decltype(&KelbrinMediaServices), kelbrin::MediaServicesFunction>);
    static GstServices services;
    return &services;
}
