#pragma once
// Which tracks the track tree lists directly under the project root. A track
// stands under its predecessor, so the chains that begin at the start box
// hang from the start node; the root takes the first track of every other
// chain: a detached track (its own predecessor), a track whose predecessor no
// track has, and one track of each ring of successor links (A follows B and
// B follows A), whose others then follow it. So every track can be reached
// from the root, and opening node after node always ends.

#include <QList>
#include <cstdint>

namespace kelbrin {

class cPozycjeMP3;

// The numbers in collection order; of a ring, the member first in the collection.
QList<std::int32_t> TreeRootTracks(const cPozycjeMP3& tracks);

} // namespace kelbrin
