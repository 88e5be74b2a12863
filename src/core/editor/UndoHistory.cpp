#include "UndoHistory.h"

#include "PlayRun.h"
#include "Synchro.h"
#include "TrackDeletion.h"
#include "TrackGraph.h"
#include "core/document/cPozycjeMP3.h"

#include <QSet>

namespace kelbrin {

UndoHistory::Snapshot UndoHistory::MakeSnapshot(const cPozycjeMP3& tracks,
                                                const QList<std::int32_t>& leaveOut) {
    auto copy = std::make_shared<cPozycjeMP3>();
    for (std::int32_t i = 1; i <= tracks.Count(); ++i) {
        const cPozycjaMP3& t = *tracks.Item(i);
        if (leaveOut.contains(t.lngNrPozycji))
            continue;
        auto c = std::make_shared<cPozycjaMP3>();
        Synchro(t, *c, synchro::Undo);
        c->blnZmodyfikowana = false;
        c->lngNrPozycji = t.lngNrPozycji;
        copy->Add(c);
    }
    return copy;
}

void UndoHistory::Push(Snapshot snapshot) {
    if (!snapshot)
        return;
    // A change made while an older state is shown discards the newer ones,
    // and the one shown with them: the fresh snapshot holds its content.
    if (m_shown >= 0)
        m_snapshots.resize(m_shown);
    m_snapshots.append(std::move(snapshot));
    m_shown = -1;
}

bool UndoHistory::CanUndo() const {
    return m_shown < 0 ? !m_snapshots.isEmpty() : m_shown > 0;
}

bool UndoHistory::CanRedo() const {
    return m_shown >= 0 && m_shown + 1 < m_snapshots.size();
}

UndoHistory::Snapshot UndoHistory::Undo(const cPozycjeMP3& current) {
    if (!CanUndo())
        return nullptr;
    if (m_shown < 0) {
        m_snapshots.append(MakeSnapshot(current));
        m_shown = m_snapshots.size() - 1;
    }
    m_shown -= 1;
    return m_snapshots[m_shown];
}

UndoHistory::Snapshot UndoHistory::Redo() {
    if (!CanRedo())
        return nullptr;
    m_shown += 1;
    return m_snapshots[m_shown];
}

void UndoHistory::Clear() {
    m_snapshots.clear();
    m_shown = -1;
}

namespace {

// A track brought back was appended; the order of the collection is the
// order of the list, the tree and the project file, and among successors of
// equal overlap the one first in it plays first. So the restored state takes
// the snapshot's order again. Tracks the snapshot does not hold stay behind
// them in their own order.
void PutInSnapshotOrder(cPozycjeMP3& tracks, const cPozycjeMP3& snapshot) {
    QList<std::shared_ptr<cPozycjaMP3>> ordered;
    QSet<const cPozycjaMP3*> placed;
    for (std::int32_t i = 1; i <= snapshot.Count(); ++i) {
        auto t = TrackByNumber(tracks, snapshot.Item(i)->lngNrPozycji);
        if (t && !placed.contains(t.get())) {
            placed.insert(t.get());
            ordered.append(t);
        }
    }
    for (std::int32_t i = 1; i <= tracks.Count(); ++i)
        if (!placed.contains(tracks.Item(i).get()))
            ordered.append(tracks.Item(i));
    bool same = true;
    for (std::int32_t i = 1; i <= tracks.Count() && same; ++i)
        same = tracks.Item(i) == ordered[i - 1];
    if (same)
        return;
    while (tracks.Count() > 0)
        tracks.Remove(tracks.Count());
    for (auto& t : ordered)
        tracks.Add(std::move(t));
}

} // namespace

RestoreReport RestoreSnapshot(cPozycjeMP3& tracks, const cPozycjeMP3& snapshot,
                              PlayRunState* run) {
    RestoreReport report;
    tracks.blnZmodyfikowana = true;
    QSet<const cPozycjaMP3*> restored;
    for (std::int32_t i = 1; i <= snapshot.Count(); ++i) {
        const cPozycjaMP3& s = *snapshot.Item(i);
        auto t = TrackByNumber(tracks, s.lngNrPozycji);
        if (!t) {
            t = std::make_shared<cPozycjaMP3>();
            t->lngNrPozycji = s.lngNrPozycji;
            tracks.Add(t);
            report.created.append(s.lngNrPozycji);
        }
        t->blnZmodyfikowana = true;
        Synchro(s, *t, synchro::Undo);
        restored.insert(t.get());
    }
    // Tracks the snapshot does not hold go, each exactly once; a playing one
    // stays. The list is made first, so the loop always ends.
    QList<std::shared_ptr<cPozycjaMP3>> extra;
    for (std::int32_t i = 1; i <= tracks.Count(); ++i) {
        auto t = tracks.Item(i);
        if (!restored.contains(t.get()))
            extra.append(t);
    }
    for (const auto& t : extra) {
        if (t->blnPlayed) {
            report.keptPlaying.append(t->lngNrPozycji);
            continue;
        }
        std::int32_t at = tracks.PositionOf(t->lngNrPozycji);
        if (at > 0 && tracks.Item(at) != t)
            at = 0; // a second track with the same number: look it up in full
        for (std::int32_t i = at > 0 ? at : 1; i <= tracks.Count(); ++i)
            if (tracks.Item(i) == t) {
                DeletionOptions options;
                options.deferForPlayer = false;
                DeleteTrackAt(tracks, i, run, options);
                report.removed.append(t->lngNrPozycji);
                break;
            }
    }
    bool playing = run && run->colPlayRun;
    for (std::int32_t i = 1; i <= tracks.Count() && !playing; ++i)
        playing = tracks.Item(i)->blnPlayed;
    if (!playing)
        PutInSnapshotOrder(tracks, snapshot);
    RebuildAllSuccessors(tracks);
    return report;
}

} // namespace kelbrin
