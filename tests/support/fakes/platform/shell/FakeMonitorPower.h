#pragma once
// Test stand-in for the monitor: counts the commands, switches nothing.
#include "platform/shell/MonitorPower.h"

namespace kelbrin {

class FakeMonitorPower final : public MonitorPower {
public:
    bool enterLowPower() override {
        ++entered;
        lowPower = available;
        return available;
    }
    void restoreSettings() override { ++restored; }
    bool available = true;
    bool lowPower = false;
    int entered = 0;
    int restored = 0;
};

} // namespace kelbrin
