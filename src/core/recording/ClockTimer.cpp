#include "ClockTimer.h"

#include "platform/media/Clock.h"

namespace kelbrin {

void ClockTimer::setEnabled(bool on) {
    if (on == m_enabled)
        return;
    m_enabled = on;
    if (on) {
        schedule();
    } else if (m_call) {
        m_clock.cancel(m_call);
        m_call = 0;
    }
}

void ClockTimer::setInterval(qint64 ms) {
    if (ms == m_interval)
        return;
    m_interval = ms;
    if (m_enabled) {
        if (m_call)
            m_clock.cancel(m_call);
        schedule();
    }
}

void ClockTimer::schedule() {
    // A timer with no interval does not tick, as a timer control set to 0.
    m_call = 0;
    if (m_interval <= 0)
        return;
    m_call = m_clock.callAfter(m_interval, [this] {
        m_call = 0;
        if (!m_enabled)
            return;
        schedule(); // the next tick is due one interval after this one
        if (onTick)
            onTick();
    });
}

} // namespace kelbrin
