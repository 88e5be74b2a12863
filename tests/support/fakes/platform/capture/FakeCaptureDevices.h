#pragma once
// Test stand-in for the capture device list: the names the test gives it.
#include "platform/capture/CaptureDevices.h"

#include <QStringList>
#include <utility>

namespace kelbrin {

class FakeCaptureDevices final : public CaptureDevices {
public:
    explicit FakeCaptureDevices(QStringList devices = {}) : list(std::move(devices)) {}
    QStringList names() override { return list; }
    QStringList list;
};

} // namespace kelbrin
