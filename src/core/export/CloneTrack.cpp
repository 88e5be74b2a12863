#include "CloneTrack.h"

#include "SplitSource.h"
#include "SplitTime.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjaPlikow.h"

namespace kelbrin {

void ContinueClone(cPozycjaMP3& copy, const cPozycjaPlikow* source) {
    const double oldEnd = TrackEndSeconds(copy, source);
    const double sourceEnd = source ? FullSourceLength(*source) : RoundToMilliseconds(copy.dblDuration);
    copy.blnJednostka = true;
    SetStartTime(copy, SecondsToTrackTime(oldEnd));
    SetEndTime(copy, SecondsToTrackTime(sourceEnd));
}

} // namespace kelbrin
