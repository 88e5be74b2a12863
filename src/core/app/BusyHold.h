#pragma once
// Holds a window or dialog busy for one long operation and gives it back on
// every way out of it: an early return, a failed step, and an error thrown
// through the operation (shown by the event loop, after which the program goes
// on) alike. A busy state left on would refuse every later command for the
// rest of the run.

#include <functional>
#include <utility>

namespace kelbrin {

class BusyHold {
public:
    // Runs `take` now and `giveBack` when the hold ends.
    BusyHold(const std::function<void()>& take, std::function<void()> giveBack)
        : m_giveBack(std::move(giveBack)) {
        take();
    }
    ~BusyHold() { m_giveBack(); }
    BusyHold(const BusyHold&) = delete;
    BusyHold& operator=(const BusyHold&) = delete;

private:
    std::function<void()> m_giveBack;
};

} // namespace kelbrin
