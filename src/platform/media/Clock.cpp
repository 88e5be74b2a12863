#include "Clock.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QThread>
#include <QTimerEvent>

#include <algorithm>
#include <limits>

namespace kelbrin {

// One object's timers carry every pending call. A call costs a hash entry
// and a timer of the event dispatcher: no timer object is built and deleted
// for it, so a player calling every few milliseconds wakes the event loop
// once per call, not a second time for a deferred deletion.
struct SystemClock::Impl final : public QObject {
public:
    QElapsedTimer elapsed;
    struct Pending {
        int id;
        std::function<void()> callback;
    };
    QHash<int, Pending> byTimer; // the dispatcher's timer id -> the call
    QHash<int, int> timerOf;     // the call's id -> the dispatcher's timer id
    // Our own ids: a dispatcher's id is reused once freed, and a late cancel
    // must never strike a later call.
    int nextId = 1;

protected:
    void timerEvent(QTimerEvent* event) override {
        const int timer = event->timerId();
        killTimer(timer);
        const auto it = byTimer.find(timer);
        if (it == byTimer.end())
            return;
        const Pending due = std::move(*it);
        byTimer.erase(it);
        timerOf.remove(due.id);
        due.callback();
    }
};

SystemClock::SystemClock() : d(std::make_unique<Impl>()) { d->elapsed.start(); }

SystemClock::~SystemClock() = default;

qint64 SystemClock::milliseconds() const { return d->elapsed.elapsed(); }

int SystemClock::callAfter(qint64 delayMs, std::function<void()> callback) {
    const int ms = static_cast<int>(std::clamp<qint64>(delayMs, 0, std::numeric_limits<int>::max()));
    // Asked on another thread than the clock's, or where no event loop can
    // run, the call could never come: a caller that waits for it would wait
    // for ever, so that is a fault to be seen at once.
    const int timer = d->thread() == QThread::currentThread() ? d->startTimer(ms) : 0;
    if (timer == 0) {
        qCritical("SystemClock::callAfter: no timer could be started on this thread; the call will not run");
        Q_ASSERT_X(false, "SystemClock::callAfter", "no timer could be started: wrong thread or no event loop");
        return 0;
    }
    const int id = d->nextId++;
    if (d->nextId <= 0)
        d->nextId = 1;
    d->byTimer.insert(timer, Impl::Pending{id, std::move(callback)});
    d->timerOf.insert(id, timer);
    return id;
}

void SystemClock::cancel(int id) {
    const auto it = d->timerOf.find(id);
    if (it == d->timerOf.end())
        return;
    const int timer = *it;
    d->timerOf.erase(it);
    d->byTimer.remove(timer);
    d->killTimer(timer);
}

namespace {
std::unique_ptr<Clock>& clockSlot() {
    static std::unique_ptr<Clock> clock;
    return clock;
}
} // namespace

Clock& ProgramClock() {
    auto& slot = clockSlot();
    if (!slot)
        slot = std::make_unique<SystemClock>();
    return *slot;
}

std::unique_ptr<Clock> SetProgramClock(std::unique_ptr<Clock> clock) {
    auto previous = std::move(clockSlot());
    clockSlot() = std::move(clock);
    return previous;
}

} // namespace kelbrin
