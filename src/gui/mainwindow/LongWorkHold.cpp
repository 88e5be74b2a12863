#include "LongWorkHold.h"

#include "frmDazudizi.h"

namespace kelbrin {

LongWorkHold::LongWorkHold(frmDazudizi& window)
    : BusyHold([&window] { window.SetReady(false); },
               [&window, wasReady = window.CanChangeProject()] {
                   window.SetReady(wasReady);
                   window.EndProgress();
               }) {}

} // namespace kelbrin
