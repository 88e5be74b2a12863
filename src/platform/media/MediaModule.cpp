#include "MediaModule.h"

#include "MediaDuration.h"
#include "MediaPlatform.h"
#include "platform/capture/CaptureDevice.h"
#include "platform/ModuleLoader.h"
#include "platform/capture/CaptureDevices.h"

namespace kelbrin {

namespace {

QString MissingModuleText() { return QStringLiteral("the media module %1 is missing").arg(kMediaModuleName); }

class NoMedia final : public MediaPlatform {
public:
    QStringList outputDeviceNames() override { return {}; }
    std::shared_ptr<PlaybackGraph> createGraph(const QString&, const QString&) override { return nullptr; }
};

class NoDurations final : public MediaDurationReader {
public:
    std::optional<double> durationSeconds(const QString&) override { return std::nullopt; }
};

class NoCaptureDevice final : public CaptureDevice {
public:
    bool open(int, const CapturePcmFormat&, qint64, QString* error) override { return refuse(error); }
    bool start(QString* error) override { return refuse(error); }
    void stop() override {}
    QByteArray takePart() override { return {}; }
    qint64 partBytes() const override { return 0; }
    void close() override {}
    bool isOpen() const override { return false; }

private:
    static bool refuse(QString* error) {
        if (error)
            *error = MissingModuleText();
        return false;
    }
};

class NoCapture final : public CapturePlatform {
public:
    std::unique_ptr<CaptureDevice> createDevice() override { return std::make_unique<NoCaptureDevice>(); }
};

class NoCaptureDevices final : public CaptureDevices {
public:
    QStringList names() override { return {}; }
};

class MissingModule final : public MediaServices {
public:
    std::unique_ptr<MediaPlatform> createMediaPlatform() override { return std::make_unique<NoMedia>(); }
    std::unique_ptr<MediaDurationReader> createDurationReader() override { return std::make_unique<NoDurations>(); }
    std::unique_ptr<CapturePlatform> createCapturePlatform() override { return std::make_unique<NoCapture>(); }
    std::unique_ptr<CaptureDevices> createCaptureDevices() override { return std::make_unique<NoCaptureDevices>(); }
};

MediaServices* LoadMediaModule() {
    const ModuleFunction found = ResolveModuleFunction(kMediaModuleName, kMediaServicesSymbol);
    if (found.function)
        return reinterpret_cast<MediaServicesFunction>(found.function)();
    qWarning("%s %s", qPrintable(MissingModuleText()), qPrintable(found.failure));
    static MissingModule missing;
    return &missing;
}

} // namespace

MediaServices& MediaModule() {
    static MediaServices* const services = LoadMediaModule();
    return *services;
}

} // namespace kelbrin
