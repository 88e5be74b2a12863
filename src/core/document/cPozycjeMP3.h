#pragma once
// The ordered collection of tracks. Positions are 1-based; removing a track
// shifts the later ones down by one, their numbers stay.

#include "cPozycjaMP3.h"

#include <QList>
#include <cstdint>
#include <memory>

namespace kelbrin {

class cPozycjeMP3 {
public:
    void Add(std::shared_ptr<cPozycjaMP3> track);
    std::int32_t Count() const;
    // Nothing for a position of 0 or less; std::out_of_range above Count.
    std::shared_ptr<cPozycjaMP3> Item(std::int32_t position) const;
    // Nothing above Count; std::out_of_range for 0 or less.
    void Remove(std::int32_t position);

private:
    QList<std::shared_ptr<cPozycjaMP3>> m_items;
};

} // namespace kelbrin
