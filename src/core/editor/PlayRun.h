#pragma once
// The sequence player's run list as the editor sees it: the player fills it
// while a run goes on, and the editor's deletions keep it in line with the
// collection. Without a run it does not exist. Entries are positions in the
// track collection.

#include <QList>
#include <cstdint>
#include <functional>
#include <optional>

namespace kelbrin {

struct PlayRunState {
    // colPlayRun: present only while a run exists.
    std::optional<QList<std::int32_t>> colPlayRun;
    // lngPlayRunMark: the index (1-based) of a run entry whose deletion waits
    // for the player; negative when none is marked.
    std::int32_t lngPlayRunMark = -1;
    // Set by the player: a change of the list or the mark asks for its next
    // pass now rather than at the end of a quiet wait.
    std::function<void()> wakePlayer;
    void changed() const {
        if (wakePlayer)
            wakePlayer();
    }
};

} // namespace kelbrin
