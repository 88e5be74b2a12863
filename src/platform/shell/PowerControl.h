#pragma once
// Turning the computer off after a recording: logind's PowerOff over the system
// bus. Tests install a fake; with KELBRIN_NO_POWEROFF set the real one refuses.

namespace kelbrin {

class PowerControl {
public:
    virtual ~PowerControl() = default;
    // Asks for the right to power off where the system wants that asked first.
    virtual void enablePrivilege() = 0;
    // True when the request was accepted.
    virtual bool powerOff() = 0;
};

class LogindPowerControl final : public PowerControl {
public:
    void enablePrivilege() override;
    bool powerOff() override;
};

PowerControl& Power();
void SetPowerControl(PowerControl* control); // not owned; nullptr restores logind

} // namespace kelbrin
