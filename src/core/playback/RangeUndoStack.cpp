#include "RangeUndoStack.h"

#include "core/document/cPozycjaMP3.h"

namespace kelbrin {

void RangeUndoStack::Reset() { m_elements = {0}; }

void RangeUndoStack::Push(const cPozycjaMP3& t) {
    m_elements << t.lngPoczatek_M << t.lngPoczatek_S << t.lngPoczatek_SS << t.lngKoniec_M << t.lngKoniec_S
               << t.lngKoniec_SS << t.lngRamkaDo << t.lngRamkaOd;
}

bool RangeUndoStack::Pop(cPozycjaMP3& t) {
    const int u = upperBound();
    if (u < kRecordSize)
        return false;
    t.lngRamkaOd = m_elements[u];
    t.lngRamkaDo = m_elements[u - 1];
    t.lngKoniec_SS = m_elements[u - 2];
    t.lngKoniec_S = m_elements[u - 3];
    t.lngKoniec_M = m_elements[u - 4];
    t.lngPoczatek_SS = m_elements[u - 5];
    t.lngPoczatek_S = m_elements[u - 6];
    t.lngPoczatek_M = m_elements[u - 7];
    m_elements.resize(u + 1 - kRecordSize);
    return true;
}

} // namespace kelbrin
