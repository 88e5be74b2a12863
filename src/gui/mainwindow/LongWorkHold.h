#pragma once
// Holds the main window busy (blnClose False) for one long operation and gives
// it back on every way out of it: an early return, a failed step, and an error
// thrown through the operation (shown by the event loop, after which the
// program goes on) alike. A flag left down would refuse every later source
// command for the rest of the run.

namespace kelbrin {

class frmDazudizi;

class LongWorkHold {
public:
    // The caller has checked that no other operation runs.
    explicit LongWorkHold(frmDazudizi& window);
    // The window as it was before, and no progress bar or hourglass left.
    ~LongWorkHold();
    LongWorkHold(const LongWorkHold&) = delete;
    LongWorkHold& operator=(const LongWorkHold&) = delete;

private:
    frmDazudizi& m_window;
    bool m_wasReady;
};

} // namespace kelbrin
