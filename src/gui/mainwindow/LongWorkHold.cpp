#include "LongWorkHold.h"

#include "frmDazudizi.h"

namespace kelbrin {

LongWorkHold::LongWorkHold(frmDazudizi& window)
    : BusyHold([&window] { window.blnClose = false; },
               [&window, wasReady = window.blnClose] {
                   window.blnClose = wasReady;
                   window.EndProgress();
               }) {}

} // namespace kelbrin
