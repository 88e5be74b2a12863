#include "LongWorkHold.h"

#include "frmDazudizi.h"

namespace kelbrin {

LongWorkHold::LongWorkHold(frmDazudizi& window) : m_window(window), m_wasReady(window.blnClose) {
    m_window.blnClose = false;
}

LongWorkHold::~LongWorkHold() {
    m_window.blnClose = m_wasReady;
    m_window.EndProgress();
}

} // namespace kelbrin
