#pragma once
// A track for graph tests: a number, a box centre in twips and a predecessor
// (0 = the start box, its own number = detached).

#include "core/document/cPozycjaMP3.h"

#include <QString>
#include <memory>

namespace kelbrin::test {

inline std::shared_ptr<cPozycjaMP3> MakeTrackAt(std::int32_t number, int x, int y, std::int32_t pred,
                                                const QString& label) {
    auto t = std::make_shared<cPozycjaMP3>();
    t->lngNrPozycji = number;
    t->lngLeft = x;
    t->lngTop = y;
    t->lngTrack = pred;
    t->strLabel = label;
    return t;
}

} // namespace kelbrin::test
