#pragma once
// The one procedure that edits a track's successor list (colNastepnik). Every
// edit ends with the list sorted by the successors' sngOvertake, smallest
// first; successors with equal overlap keep the order in which they were linked.

#include <cstdint>

namespace kelbrin {

class cPozycjeMP3;

namespace successors {
enum Mode : std::int32_t {
    Append = 0,      // value (a position) is appended, duplicates included
    RemoveFirst = 1, // the first entry equal to value (a position) goes
    Rebuild = 2,     // the list becomes the positions of the tracks that follow track number value
    SortOnly = 3,    // any other mode only sorts
};
}

// `index` is the position of the track whose list is edited. Positions that
// name no track fail with std::out_of_range; nothing is checked beforehand.
void UpdateSuccessors(cPozycjeMP3& tracks, std::int32_t index, std::int32_t value,
                      std::int32_t mode);

// Every track's list rebuilt at once, with the same result as a Rebuild of
// each position with its own number: one pass over the collection instead of
// one per track.
void RebuildEverySuccessorList(cPozycjeMP3& tracks);

} // namespace kelbrin
