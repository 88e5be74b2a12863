#pragma once
// The sound-capture devices the recorder can take its input from, by display
// name. Position n in the list is capture device n; the settings store keeps
// the position (DeviceIn = n + 1, 0 meaning the system's default input).
//
// Linux: GStreamer's device monitor, class "Audio/Source", sorted by name so
// that the positions do not depend on the order the sound server reports.
// Tests install FakeCaptureDevices.

#include <QStringList>
#include <memory>

namespace kelbrin {

class CaptureDevices {
public:
    virtual ~CaptureDevices() = default;
    virtual QStringList names() = 0;
};

class GstCaptureDevices final : public CaptureDevices {
public:
    QStringList names() override;
};

class FakeCaptureDevices final : public CaptureDevices {
public:
    explicit FakeCaptureDevices(QStringList devices = {}) : list(std::move(devices)) {}
    QStringList names() override { return list; }
    QStringList list;
};

// The list in force: GStreamer's unless a test installed another.
CaptureDevices& CaptureDeviceList();
std::unique_ptr<CaptureDevices> SetCaptureDevices(std::unique_ptr<CaptureDevices> devices);

} // namespace kelbrin
