#pragma once
// Deleting a track from the collection, the model's half: the
// links through it are bridged, loops into it cleared, the track removed, and
// every position-based list (successor lists, the player's run list) brought
// back in line. Numbers never change; only positions shift.

#include <cstdint>

namespace kelbrin {

class cPozycjeMP3;
struct PlayRunState;

enum class DeletionResult {
    Deleted,
    NotFound, // no track has the number
    Deferred, // the track belongs to the running player's list: its entry is marked
};

struct DeletionOptions {
    // The run list's deferral (step 3) applies; the undo history's removals
    // skip it, since they never touch a playing track anyway.
    bool deferForPlayer = true;
};

// The running player keeps the track at this position: when it is in the run
// list while a marker is in use, the marker is set to its entry and true comes
// back; the deletion then waits for the player.
bool MarkForPlayer(const cPozycjeMP3& tracks, std::int32_t position, PlayRunState* run);

// Deletes the first track with this number.
DeletionResult DeleteTrack(cPozycjeMP3& tracks, std::int32_t number, PlayRunState* run,
                           DeletionOptions options = {});
// Deletes the track at this position (1-based).
DeletionResult DeleteTrackAt(cPozycjeMP3& tracks, std::int32_t position, PlayRunState* run,
                             DeletionOptions options = {});

} // namespace kelbrin
