#pragma once
// Holds the main window busy (blnClose False) for one long operation and gives
// it back on every way out of it (see BusyHold). A flag left down would refuse
// every later source command for the rest of the run.

#include "core/app/BusyHold.h"

namespace kelbrin {

class frmDazudizi;

class LongWorkHold : public BusyHold {
public:
    // The caller has checked that no other operation runs. At the end: the
    // window as it was before, and no progress bar or hourglass left.
    explicit LongWorkHold(frmDazudizi& window);
};

} // namespace kelbrin
