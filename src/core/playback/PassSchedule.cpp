#include "PassSchedule.h"

#include "PlayMath.h"
#include "core/app/Numbers.h"
#include "core/app/PathProcedures.h"
#include "core/document/cPozycjaMP3.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kelbrin {

std::int64_t QuietMs(const cPozycjaMP3& t, const TrackAtPass& at, std::int64_t minMs, std::int64_t maxMs) {
    if (t.blnPrev)
        return minMs;
    if (!at.running || !(at.rate > 0))
        return maxMs; // nothing moves until a command, which wakes the pass
    // A fade-in still ramping wants every pass.
    if (HasFadeIn(t) && at.volume != ClampVolume(t.lngVolume))
        return minMs;
    double soonest = std::numeric_limits<double>::infinity(); // graph seconds from now
    bool due = false;
    const auto moment = [&](double when) {
        if (when <= at.cur)
            due = true;
        else
            soonest = std::min(soonest, when - at.cur);
    };
    moment(at.stop);
    if (at.loops && t.lngLoopCount > 0) {
        moment(at.stop - at.lead);
    } else if (t.lngOverTakingIndex > 0) {
        const double x = RescaleToPlayerTime(t.sngOverTaking, t.dblDuration, at.dur, at.oldAlgorithm);
        moment(at.stop + x - at.lead);
    }
    // The fade-out ramps from its start to the stop time.
    if (t.lngVolume != t.lngVolumeEnd && !t.colNastepnik.isEmpty() && t.sngFadeOutTimeOld > 0)
        moment(at.stop - t.sngFadeOutTimeOld - at.lead);
    // The label's whole second turns once the hundredths shown reach its
    // half; waking a hair early only costs one more short wait.
    const double shownNow = RescaleFromPlayerTime(at.cur, t.dblDuration, at.dur, at.oldAlgorithm);
    const double whole = static_cast<double>(RoundHalfEven(RoundHalfEven(shownNow * 100.0) / 100.0));
    moment(RescaleToPlayerTime(whole + 0.495, t.dblDuration, at.dur, at.oldAlgorithm));
    if (due)
        return minMs;
    const double ms = std::ceil(soonest / at.rate * 1000.0);
    if (!(ms < static_cast<double>(maxMs)))
        return maxMs;
    return std::max(minMs, static_cast<std::int64_t>(ms));
}

} // namespace kelbrin
