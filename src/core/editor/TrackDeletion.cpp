#include "TrackDeletion.h"

#include "PlayRun.h"
#include "TrackGraph.h"
#include "core/document/Successors.h"
#include "core/document/cPozycjeMP3.h"

namespace kelbrin {

bool MarkForPlayer(const cPozycjeMP3& tracks, std::int32_t position, PlayRunState* run) {
    Q_UNUSED(tracks);
    if (!run || !run->colPlayRun || run->lngPlayRunMark < 0)
        return false;
    const QList<std::int32_t>& list = *run->colPlayRun;
    for (qsizetype k = 0; k < list.size(); ++k)
        if (list[k] == position) {
            run->lngPlayRunMark = static_cast<std::int32_t>(k + 1);
            run->changed();
            return true;
        }
    return false;
}

DeletionResult DeleteTrack(cPozycjeMP3& tracks, std::int32_t number, PlayRunState* run,
                           DeletionOptions options) {
    const std::int32_t p = ItemTracka(tracks, number);
    if (p == 0)
        return DeletionResult::NotFound;
    return DeleteTrackAt(tracks, p, run, options);
}

DeletionResult DeleteTrackAt(cPozycjeMP3& tracks, std::int32_t p, PlayRunState* run,
                             DeletionOptions options) {
    if (p < 1 || p > tracks.Count())
        return DeletionResult::NotFound;

    if (options.deferForPlayer && MarkForPlayer(tracks, p, run))
        return DeletionResult::Deferred;

    auto d = tracks.Item(p);
    const std::int32_t dNumber = d->lngNrPozycji;
    const bool dDetached = d->lngTrack == dNumber;
    for (std::int32_t i = 1; i <= tracks.Count(); ++i) {
        cPozycjaMP3& t = *tracks.Item(i);
        if (i == p)
            continue;
        // Step 6: successors now follow D's predecessor (or the start box, or
        // nobody when D was detached).
        if (t.lngTrack == dNumber) {
            t.lngTrack = dDetached ? t.lngNrPozycji : d->lngTrack;
            t.blnZmodyfikowana = true;
        }
        // Step 7: loops into D are cleared.
        if (t.lngLoopTrack == dNumber) {
            t.lngLoopTrack = -1;
            t.lngLoopCount = 0;
            t.lngLoopCountBackup = 0;
            t.blnZmodyfikowana = true;
        }
    }

    tracks.Remove(p);
    tracks.blnZmodyfikowana = true;

    // Step 13: the player's run list follows the shifted positions; the
    // deleted track's own entry goes.
    if (run && run->colPlayRun) {
        QList<std::int32_t> shifted;
        for (std::int32_t entry : *run->colPlayRun) {
            if (entry == p)
                continue;
            shifted.append(entry > p ? entry - 1 : entry);
        }
        *run->colPlayRun = shifted;
        run->changed();
        for (std::int32_t entry : shifted) {
            if (entry < 1 || entry > tracks.Count())
                continue;
            cPozycjaMP3& t = *tracks.Item(entry);
            if (t.lngOverTakingIndex == p)
                t.lngOverTakingIndex = 0;
            else if (t.lngOverTakingIndex > p)
                t.lngOverTakingIndex -= 1;
            UpdateSuccessors(tracks, entry, t.lngNrPozycji, successors::Rebuild);
            if (t.lngColNastepnikIndex > 0) {
                t.lngColNastepnikIndex -= 1;
                NextSuccessor(tracks, entry);
            }
        }
    }
    // Step 14.
    RebuildAllSuccessors(tracks);
    return DeletionResult::Deleted;
}

} // namespace kelbrin
