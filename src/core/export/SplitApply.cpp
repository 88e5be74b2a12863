#include "SplitApply.h"

#include "core/app/MessageService.h"
#include "core/document/EditorSession.h"
#include "core/app/TextCatalog.h"
#include "core/document/Successors.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjaPlikow.h"
#include "core/document/cPozycjeMP3.h"

#include <algorithm>

namespace kelbrin {

namespace {

std::int32_t positionOf(const cPozycjeMP3& tracks, std::int32_t number) {
    return tracks.PositionOf(number);
}

} // namespace

SplitContext SplitContextFrom(SplitHost& host) {
    SplitContext c;
    c.tracks = host.Tracks();
    c.nextTrackNo = host.Session().NextTrackNo;
    c.selectedTrack = host.SelectedTrack();
    c.lastListRowTrack = host.LastListRowTrack();
    const SplitBox start = host.BoxOf(0);
    c.boxSize = start.width;
    const bool selectedExists =
        c.selectedTrack != 0 && c.tracks && positionOf(*c.tracks, c.selectedTrack) != 0;
    c.selectedBox = selectedExists ? host.BoxOf(c.selectedTrack) : start;
    c.workWidth = host.WorkWidth();
    c.workHeight = host.WorkHeight();
    return c;
}

void ApplySplitPlan(const SplitPlan& plan, SplitHost& host, bool snapshot) {
    const auto tracks = host.Tracks();
    if (!tracks || plan.tracks.isEmpty())
        return;
    if (snapshot)
        host.TakeUndoSnapshot();
    for (const auto& track : plan.tracks) {
        tracks->Add(track);
        const std::int32_t position = tracks->Count();
        const std::int32_t predecessor = track->lngTrack;
        // The start box (0) is no track: it keeps no successor list.
        if (predecessor != 0 && predecessor != track->lngNrPozycji) {
            if (const std::int32_t at = positionOf(*tracks, predecessor); at != 0)
                UpdateSuccessors(*tracks, at, position, successors::Append);
        }
        host.AddTrackViews(*track, position);
        if (track->lngNrPozycji == 1)
            host.EnableCopyAndClone();
        host.SelectTrack(track->lngNrPozycji);
        host.ResetPreviewPlayMode();
        EditorSession& session = host.Session();
        session.NextTrackNo = std::max(session.NextTrackNo, track->lngNrPozycji + 1);
    }
}

bool ApplySplitEdit(SplitHost& host, std::int32_t trackNo, const QString& outputName,
                    cPozycjaPlikow& source, bool vbr) {
    const auto tracks = host.Tracks();
    const std::int32_t position = tracks ? positionOf(*tracks, trackNo) : 0;
    if (position == 0) {
        ShowText(3685, mb::Information);
        return false;
    }
    host.TakeUndoSnapshot();
    cPozycjaMP3& track = *tracks->Item(position);
    track.strFileName = outputName;
    track.blnZmodyfikowana = true;
    track.strFileNameSource = source.strFileName;
    source.blnVBR = vbr;
    track.dblDuration = source.sngCzasTrwania;
    track.ReleaseGraph();
    host.RefreshTrackRow(track);
    return true;
}

} // namespace kelbrin
