#pragma once
// The in-memory undo history. A snapshot is a deep copy of the
// track collection's fields (not the player's run-time state) taken before a
// change. The history keeps the snapshots in order and knows which of them the
// window shows, so an undo always moves to the state before the one shown and
// a redo to the one after it.
//
// The history keeps the index of the snapshot shown rather than a position
// stepped by fixed amounts, so an undo right after a redo that stopped short
// of the newest snapshot shows the previous state, never the one already
// shown.

#include <QList>
#include <cstdint>
#include <memory>

namespace kelbrin {

class cPozycjaMP3;
class cPozycjeMP3;
struct PlayRunState;

class UndoHistory {
public:
    using Snapshot = std::shared_ptr<const cPozycjeMP3>;

    // A copy of every track: the members that Synchro copies in mode 0, the
    // number, and blnZmodyfikowana False. The tracks numbered in `leaveOut`
    // are not copied (a snapshot of the state before they were added).
    static Snapshot MakeSnapshot(const cPozycjeMP3& tracks,
                                 const QList<std::int32_t>& leaveOut = {});

    // TworzUndo (False, False): the state before a change. Whatever lies above
    // the state shown (the redo part) is discarded.
    void Take(const cPozycjeMP3& tracks) { Push(MakeSnapshot(tracks)); }
    void Push(Snapshot snapshot);

    bool CanUndo() const;
    bool CanRedo() const;

    // The snapshot an undo restores, or null when there is none. `current` is
    // recorded first when the state shown is not yet in the history, so a redo
    // can come back to it.
    Snapshot Undo(const cPozycjeMP3& current);
    Snapshot Redo();

    void Clear();
    qsizetype Count() const { return m_snapshots.size(); }
    // The index of the snapshot shown; -1 while the state shown is newer than
    // every snapshot (after a change).
    qsizetype ShownIndex() const { return m_shown; }

private:
    QList<Snapshot> m_snapshots;
    qsizetype m_shown = -1;
};

// What a restore did, for the views.
struct RestoreReport {
    QList<std::int32_t> created; // numbers re-created
    QList<std::int32_t> removed; // numbers removed (added after the snapshot)
    QList<std::int32_t> keptPlaying; // not in the snapshot, but playing: left alone
};

// Restores a snapshot into the collection, matching tracks by number: a track
// of the snapshot that is gone is re-created at the end with its old number;
// every track the snapshot does not hold is deleted (links bridged, run list
// fixed) unless it is playing. While nothing plays and no run of the player
// holds positions, the collection then takes the snapshot's order again. Last, every successor
// list is rebuilt and sorted. Restored tracks keep their run-time members.
RestoreReport RestoreSnapshot(cPozycjeMP3& tracks, const cPozycjeMP3& snapshot,
                              PlayRunState* run);

} // namespace kelbrin
