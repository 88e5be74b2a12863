#pragma once
// Turning the monitor off for a moment, on the user's command: the display
// goes to its power-saving state and stays there until the user moves the
// mouse or presses a key.
//
// Linux: X11's DPMS extension where the display has it; elsewhere (Wayland
// without XWayland's DPMS, no display at all) the command does nothing.
// Tests install FakeMonitorPower.

#include <memory>

namespace kelbrin {

class MonitorPower {
public:
    virtual ~MonitorPower() = default;
    // Switches the monitor off now; false when this display cannot.
    virtual bool enterLowPower() = 0;
    // Called a few seconds later: puts back what enterLowPower changed in the
    // display's power-saving settings, without waking the monitor.
    virtual void restoreSettings() = 0;
};

class X11MonitorPower final : public MonitorPower {
public:
    bool enterLowPower() override;
    void restoreSettings() override;

private:
    bool m_changed = false;    // DPMS was switched on for the command
};

// The monitor in force: X11's unless a test installed another.
MonitorPower& Monitor();
std::unique_ptr<MonitorPower> SetMonitorPower(std::unique_ptr<MonitorPower> monitor);

} // namespace kelbrin
