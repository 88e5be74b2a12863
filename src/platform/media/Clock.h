#pragma once
// The program's sense of time: a millisecond count that only grows (in place
// of the system's millisecond clock) and one-shot calls after a delay (in
// place of timer controls that fire once). The players, the fade preview, the
// recorder and the encoder server are each given a clock when they are built
// (the clock in force at that moment) and keep it for every call, so their
// tests run on virtual time.
//
// Real time: SystemClock (QElapsedTimer and the event loop's timers). Tests: VirtualClock
// (VirtualClock.h), whose time moves only when the test advances it.

#include <QtGlobal>
#include <functional>
#include <memory>

namespace kelbrin {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start; never goes back.
    virtual qint64 milliseconds() const = 0;
    double seconds() const { return milliseconds() / 1000.0; }

    // Calls `callback` once on the Qt thread when `delayMs` have passed (at
    // the earliest; a delay of 0 or less means "at the next chance"). Returns
    // an id above 0 for cancel(), or 0 when the call can never run (a
    // SystemClock asked on another thread, or without an event dispatcher:
    // a fault, which it also reports). The callback may schedule or cancel calls.
    virtual int callAfter(qint64 delayMs, std::function<void()> callback) = 0;
    // Drops a pending call; an unknown or finished id is ignored.
    virtual void cancel(int id) = 0;
};

// Real time: QElapsedTimer for the count, the event loop's timers for the calls.
// The calls need a running Qt event loop.
class SystemClock final : public Clock {
public:
    SystemClock();
    ~SystemClock() override;
    qint64 milliseconds() const override;
    int callAfter(qint64 delayMs, std::function<void()> callback) override;
    void cancel(int id) override;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// The clock in force: a SystemClock unless a test installed another.
Clock& ProgramClock();
// Installs a clock (nullptr puts a SystemClock back); returns the previous one.
std::unique_ptr<Clock> SetProgramClock(std::unique_ptr<Clock> clock);

} // namespace kelbrin
