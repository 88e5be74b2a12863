#pragma once
// The sequence player's run list as the editor sees it. The player
// issue fills it; until then it simply never exists. Entries are positions in
// the track collection.

#include <QList>
#include <cstdint>
#include <optional>

namespace kelbrin {

struct PlayRunState {
    // colPlayRun: present only while a run exists.
    std::optional<QList<std::int32_t>> colPlayRun;
    // lngPlayRunMark: the index (1-based) of a run entry whose deletion waits
    // for the player; negative when none is marked.
    std::int32_t lngPlayRunMark = -1;
};

} // namespace kelbrin
