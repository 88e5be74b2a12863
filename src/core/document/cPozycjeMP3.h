#pragma once
// The ordered collection of tracks. Positions are 1-based; removing a track
// shifts the later ones down by one, their numbers stay.
//
// The collection keeps a map from track number to position, so that looking a
// track up by its number costs no scan of the collection. Adding and removing
// keep it exact; a number changed directly on a track that is already in the
// collection is noticed at the next lookup, which then rebuilds the map.

#include "cPozycjaMP3.h"

#include <QHash>
#include <QList>
#include <cstdint>
#include <memory>

namespace kelbrin {

class cPozycjeMP3 {
public:
    void Add(std::shared_ptr<cPozycjaMP3> track);
    std::int32_t Count() const;
    // Nothing (an empty pointer) for a position of 0 or less; std::out_of_range
    // above Count. The reference stays valid until the collection changes.
    const std::shared_ptr<cPozycjaMP3>& Item(std::int32_t position) const;
    // Nothing above Count; std::out_of_range for 0 or less.
    void Remove(std::int32_t position);
    // The position (1-based) of the first track with this number; 0 for a
    // number of 0 or less and for a number that no track has.
    std::int32_t PositionOf(std::int32_t number) const;

    // Tracks were deleted or restored by undo or redo, or the start box was
    // moved, since the collection was loaded or saved: a change no remaining
    // track's own flag may show (the last track deleted, an undo back to an
    // empty project).
    bool blnZmodyfikowana = false;

private:
    void reindex() const;

    QList<std::shared_ptr<cPozycjaMP3>> m_items;
    // Track number -> position of the first track holding it.
    mutable QHash<std::int32_t, std::int32_t> m_positions;
};

} // namespace kelbrin
