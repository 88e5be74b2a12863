#pragma once
// Carrying out a split: the planned tracks join the project's collection, the
// successor lists and the views; or, in edit mode, one track is pointed at
// another source and output name.

#include "SplitPlan.h"

#include <QString>
#include <cstdint>

namespace kelbrin {

class cPozycjaPlikow;
class SplitHost;

// The project as the host shows it now, for PlanSplit.
SplitContext SplitContextFrom(SplitHost& host);

// Adds the tracks in order: each to the collection, to its predecessor's
// successor list (the start box has none), to the views, and selects it.
// NextTrackNo ends past the last number used. With `snapshot` (a command of
// the user, not a run at once for another command) an undo snapshot comes first.
void ApplySplitPlan(const SplitPlan& plan, SplitHost& host, bool snapshot);

// Points the track numbered `trackNo` at `source` under `outputName`; its
// playback graph is dropped so the player builds it from the new source. An
// undo snapshot comes first.
// False after message 3685 when the track has been deleted meanwhile.
bool ApplySplitEdit(SplitHost& host, std::int32_t trackNo, const QString& outputName,
                    cPozycjaPlikow& source, bool vbr);

} // namespace kelbrin
