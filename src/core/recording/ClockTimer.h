#pragma once
// A repeating timer on the clock in force, as a timer control behaves: while
// enabled it ticks every interval; switching it on when it is already on
// keeps the running countdown; a new interval starts afresh. Tests drive it
// with a VirtualClock.

#include <QString>
#include <functional>

namespace kelbrin {

class ClockTimer {
public:
    explicit ClockTimer(qint64 intervalMs = 1000) : m_interval(intervalMs) {}
    ~ClockTimer() { setEnabled(false); }
    ClockTimer(const ClockTimer&) = delete;
    ClockTimer& operator=(const ClockTimer&) = delete;

    std::function<void()> onTick;
    QString Tag;

    void setEnabled(bool on);
    bool enabled() const { return m_enabled; }
    // A changed interval restarts the countdown of a running timer.
    void setInterval(qint64 ms);
    qint64 interval() const { return m_interval; }

private:
    void schedule();

    qint64 m_interval;
    bool m_enabled = false;
    int m_call = 0;
};

} // namespace kelbrin
