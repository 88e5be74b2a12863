#include "LongWorkHold.h"

#include "frmDazudizi.h"

namespace kelbrin {

LongWorkHold::LongWorkHold(frmDazudizi& window) : m_window(window), m_wasReady(window.CanChangeProject()) {
    m_window.SetReady(false);
}

LongWorkHold::~LongWorkHold() {
    m_window.SetReady(m_wasReady);
    m_window.EndProgress();
}

} // namespace kelbrin
