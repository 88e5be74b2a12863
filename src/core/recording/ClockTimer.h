#pragma once
// A repeating timer on the clock it is given, as a timer control behaves: while
// enabled it ticks every interval; switching it on when it is already on
// keeps the running countdown; a new interval starts afresh. Tests drive it
// with a VirtualClock.

#include <QString>
#include <functional>

namespace kelbrin {

class Clock;

class ClockTimer {
public:
    explicit ClockTimer(Clock& clock, qint64 intervalMs = 1000) : m_clock(clock), m_interval(intervalMs) {}
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

    Clock& m_clock;
    qint64 m_interval;
    bool m_enabled = false;
    int m_call = 0;
};

} // namespace kelbrin
