#pragma once
// Test stand-in for the clock: time stands still until the test moves it.
// advance() moves it forward and runs every call that falls due on the way,
// in time order (calls due at the same moment in the order they were
// scheduled), each with the clock showing its own due time. Nothing here
// needs an event loop, so a test drives a player tick by tick:
//
//     VirtualClock* clock = ...installed with SetProgramClock...;
//     player.tick();            // one pass
//     clock->advance(100);      // 100 ms later; due calls run
//     player.tick();

#include "platform/media/Clock.h"

#include <QList>
#include <algorithm>

namespace kelbrin {

class VirtualClock final : public Clock {
public:
    explicit VirtualClock(qint64 startMs = 0) : m_now(startMs) {}

    qint64 milliseconds() const override { return m_now; }

    int callAfter(qint64 delayMs, std::function<void()> callback) override {
        const int id = m_nextId++;
        m_calls.append({m_now + std::max<qint64>(0, delayMs), id, std::move(callback)});
        return id;
    }

    void cancel(int id) override {
        m_calls.erase(std::remove_if(m_calls.begin(), m_calls.end(),
                                     [id](const Call& c) { return c.id == id; }),
                      m_calls.end());
    }

    // Moves time forward by `ms` (0 runs only the calls due now).
    void advance(qint64 ms) { advanceTo(m_now + std::max<qint64>(0, ms)); }

    void advanceTo(qint64 targetMs) {
        for (;;) {
            auto due = std::min_element(m_calls.begin(), m_calls.end(), [](const Call& a, const Call& b) {
                return a.due != b.due ? a.due < b.due : a.id < b.id;
            });
            if (due == m_calls.end() || due->due > targetMs)
                break;
            Call call = std::move(*due);
            m_calls.erase(due);
            m_now = std::max(m_now, call.due);
            call.callback();
        }
        m_now = std::max(m_now, targetMs);
    }

    // Calls scheduled and not yet run or cancelled.
    int pendingCalls() const { return static_cast<int>(m_calls.size()); }

private:
    struct Call {
        qint64 due;
        int id;
        std::function<void()> callback;
    };
    qint64 m_now;
    int m_nextId = 1;
    QList<Call> m_calls;
};

} // namespace kelbrin
