#include "TreeRoots.h"

#include "core/document/cPozycjeMP3.h"

#include <algorithm>

namespace kelbrin {

QList<std::int32_t> TreeRootTracks(const cPozycjeMP3& tracks) {
    const std::int32_t count = tracks.Count();
    enum : char { Unseen, OnWalk, Done };
    QList<char> state(count + 1, Unseen);
    QList<bool> root(count + 1, false);
    // Each walk goes from a track to its predecessors until it meets the
    // start, a chain's first track, a track an earlier walk settled, or
    // itself again (a ring). Every track is walked over once.
    for (std::int32_t i = 1; i <= count; ++i) {
        QList<std::int32_t> walk;
        for (std::int32_t p = i; state[p] != Done;) {
            if (state[p] == OnWalk) {
                const auto ring = walk.cbegin() + walk.indexOf(p);
                root[*std::min_element(ring, walk.cend())] = true;
                break;
            }
            state[p] = OnWalk;
            walk.append(p);
            const cPozycjaMP3& t = *tracks.Item(p);
            if (t.lngTrack == 0)
                break;
            const std::int32_t predecessor =
                t.lngTrack == t.lngNrPozycji ? 0 : tracks.PositionOf(t.lngTrack);
            if (predecessor == 0) {
                root[p] = true;
                break;
            }
            p = predecessor;
        }
        for (const std::int32_t p : walk)
            state[p] = Done;
    }
    QList<std::int32_t> numbers;
    for (std::int32_t i = 1; i <= count; ++i)
        if (root[i])
            numbers.append(tracks.Item(i)->lngNrPozycji);
    return numbers;
}

} // namespace kelbrin
