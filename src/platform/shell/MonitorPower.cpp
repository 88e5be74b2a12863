#include "MonitorPower.h"

#ifdef KELBRIN_HAVE_DPMS
#include <X11/Xlib.h>
#include <X11/extensions/dpms.h>
#endif

namespace kelbrin {

#ifdef KELBRIN_HAVE_DPMS
namespace {

// A connection of our own for one command, so that this layer needs nothing
// from the toolkit's display handling.
struct XConnection {
    Display* display = XOpenDisplay(nullptr);
    ~XConnection() {
        if (display)
            XCloseDisplay(display);
    }
    bool capable() const {
        int event = 0, error = 0;
        return display && DPMSQueryExtension(display, &event, &error) && DPMSCapable(display);
    }
};

} // namespace

bool X11MonitorPower::enterLowPower() {
    XConnection x;
    if (!x.capable())
        return false;
    CARD16 level = 0;
    BOOL enabled = False;
    DPMSInfo(x.display, &level, &enabled);
    if (!enabled) {
        DPMSEnable(x.display);
        m_changed = true;
    }
    const bool done = DPMSForceLevel(x.display, DPMSModeOff);
    XFlush(x.display);
    return done;
}

void X11MonitorPower::restoreSettings() {
    if (!m_changed)
        return;
    m_changed = false;
    XConnection x;
    if (!x.capable())
        return;
    // Switching DPMS off again would wake the monitor at once. With no
    // time-outs the display never darkens by itself, which is what the user
    // had while it was off.
    DPMSSetTimeouts(x.display, 0, 0, 0);
    XFlush(x.display);
}
#else
bool X11MonitorPower::enterLowPower() { return false; }
void X11MonitorPower::restoreSettings() {}
#endif

namespace {
std::unique_ptr<MonitorPower>& Installed() {
    static std::unique_ptr<MonitorPower> monitor;
    return monitor;
}
} // namespace

MonitorPower& Monitor() {
    auto& installed = Installed();
    if (!installed)
        installed = std::make_unique<X11MonitorPower>();
    return *installed;
}

std::unique_ptr<MonitorPower> SetMonitorPower(std::unique_ptr<MonitorPower> monitor) {
    auto previous = std::move(Installed());
    Installed() = std::move(monitor);
    return previous;
}

} // namespace kelbrin
