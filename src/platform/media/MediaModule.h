#pragma once
// Playback, media durations and capture over GStreamer are a module of their
// own (kelbrin-media), loaded when one of them is first needed, so that a
// start of the editor (and a batch-script run, which plays nothing) maps
// neither GStreamer nor the libraries it pulls in.

#include <QString>
#include <memory>

namespace kelbrin {

class CaptureDevices;
class CapturePlatform;
class MediaDurationReader;
class MediaPlatform;

// What the module makes: the real implementations of the services.
class MediaServices {
public:
    virtual ~MediaServices() = default;
    virtual std::unique_ptr<MediaPlatform> createMediaPlatform() = 0;
    virtual std::unique_ptr<MediaDurationReader> createDurationReader() = 0;
    virtual std::unique_ptr<CapturePlatform> createCapturePlatform() = 0;
    virtual std::unique_ptr<CaptureDevices> createCaptureDevices() = 0;
};

// The module's file name without its suffix.
inline const QString kMediaModuleName = QStringLiteral("kelbrin-media");
// The function the module exports: its services, owned by the module.
extern "C" using MediaServicesFunction = MediaServices* (*)();
inline constexpr char kMediaServicesSymbol[] = "KelbrinMediaServices";

// The module's services, loaded from beside the program (or the installed
// library folder) at the first call. Without the module: no output device,
// no graph, no duration, and a capture device that refuses to open.
MediaServices& MediaModule();

} // namespace kelbrin
