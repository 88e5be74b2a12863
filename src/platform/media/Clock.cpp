#include "Clock.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QTimer>

#include <algorithm>
#include <limits>

namespace kelbrin {

struct SystemClock::Impl {
    QElapsedTimer elapsed;
    QObject context; // owns the pending timers, so they die with the clock
    QHash<int, QTimer*> pending;
    int nextId = 1;
};

SystemClock::SystemClock() : d(std::make_unique<Impl>()) { d->elapsed.start(); }

SystemClock::~SystemClock() = default;

qint64 SystemClock::milliseconds() const { return d->elapsed.elapsed(); }

int SystemClock::callAfter(qint64 delayMs, std::function<void()> callback) {
    const int id = d->nextId++;
    auto* timer = new QTimer(&d->context);
    timer->setSingleShot(true);
    QObject::connect(timer, &QTimer::timeout, &d->context, [this, id, timer, cb = std::move(callback)] {
        d->pending.remove(id);
        timer->deleteLater();
        cb();
    });
    d->pending.insert(id, timer);
    timer->start(static_cast<int>(std::clamp<qint64>(delayMs, 0, std::numeric_limits<int>::max())));
    return id;
}

void SystemClock::cancel(int id) {
    if (QTimer* timer = d->pending.take(id)) {
        timer->stop();
        timer->deleteLater();
    }
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
