#include "CueImport.h"

#include "core/document/cPozycjaMP3.h"

namespace kelbrin {

QList<CueImportTrack> PlanCueImport(const QList<CueEntry>& entries, const cPozycjaMP3& selected,
                                    double selectedEnd, const QDateTime& base, QStringList* skipped) {
    QList<CueImportTrack> result;
    const QList<CueRange> ranges =
        CueRangesBackwards(entries, SecondsToTrackTime(selectedEnd), skipped);
    for (const CueRange& range : ranges) {
        auto track = std::make_shared<cPozycjaMP3>();
        track->strFileNameSource = selected.strFileNameSource;
        track->blnJednostka = true;
        SetStartTime(*track, range.start);
        SetEndTime(*track, range.end);
        track->strAutor = entries[range.entry].performer;
        track->strTitle = entries[range.entry].title;
        track->blnZmodyfikowana = true;
        track->blnAwlaysTop = false;
        result.append({track, base.addSecs(range.entry)});
    }
    return result;
}

} // namespace kelbrin
