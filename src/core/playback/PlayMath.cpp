#include "PlayMath.h"

#include "core/app/Numbers.h"
#include "core/app/PathProcedures.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjaMP3.h"

#include <algorithm>
#include <cmath>

namespace kelbrin {

namespace {
constexpr std::int32_t kSilent = -10000;
constexpr std::int32_t kMarkerScale = 32767;
} // namespace

double RangeBeginSeconds(const cPozycjaMP3& t) {
    return t.lngPoczatek_M * 60.0 + t.lngPoczatek_S + t.lngPoczatek_SS * 0.001;
}

double RangeEndSeconds(const cPozycjaMP3& t) {
    return t.lngKoniec_M * 60.0 + t.lngKoniec_S + t.lngKoniec_SS * 0.001;
}

std::int32_t ClampVolume(double v) {
    if (!(v == v)) // NaN
        return kSilent;
    return static_cast<std::int32_t>(ClampTo<std::int64_t>(RoundHalfEven(v), kSilent, 0));
}

std::optional<std::int32_t> FadeOutVolume(const cPozycjaMP3& t, double cur, double stop, double lead) {
    const double fade = t.sngFadeOutTimeOld;
    if (t.lngVolume == t.lngVolumeEnd || t.colNastepnik.isEmpty() || fade <= 0)
        return std::nullopt;
    if (stop - fade > cur + lead)
        return std::nullopt;
    // The lead is added, not taken away: the ramp begins `lead` after the
    // moment the volume is first asked for and is still a little above the
    // end volume at the successor's moment, so the track is heard into the
    // overlap instead of falling silent before the successor starts.
    const double r = std::clamp((stop - cur + lead) / fade, 0.0, 1.0);
    if (r >= 1)
        return std::nullopt;
    return ClampVolume(t.lngVolumeEnd + (t.lngVolume - t.lngVolumeEnd) * r);
}

std::optional<std::int32_t> FadeInVolume(const cPozycjaMP3& t, double cur, double lead,
                                         std::int32_t currentVolume, double offset) {
    const double fade = t.sngFadeInTimeOld;
    if (!HasFadeIn(t) || currentVolume == ClampVolume(t.lngVolume))
        return std::nullopt;
    if (cur + lead > offset)
        return ClampVolume(t.lngVolume); // the ramp is over: the body volume
    const double r = std::clamp((offset - (cur + lead)) / fade, 0.0, 1.0);
    if (r >= 1)
        return std::nullopt;
    return ClampVolume(t.lngVolume + (t.lngVolumeStart - t.lngVolume) * r);
}

double FadeInEndSeconds(const cPozycjaMP3& t, double graphDuration, bool oldAlgorithm) {
    return RescaleToPlayerTime(RangeBeginSeconds(t), t.dblDuration, graphDuration, oldAlgorithm) +
           t.sngFadeInTimeOld;
}

bool HasFadeIn(const cPozycjaMP3& t) {
    return t.lngVolumeStart != t.lngVolume && t.lngTrack != t.lngNrPozycji && t.sngFadeInTimeOld > 0;
}

std::int32_t StartVolume(const cPozycjaMP3& t, bool markerStart) {
    if (!HasFadeIn(t))
        return ClampVolume(t.lngVolume);
    if (markerStart)
        return ClampVolume(t.lngVolume);
    return ClampVolume(t.lngVolumeStart);
}

double StartSeconds(const cPozycjaMP3& t, std::int64_t elapsedMs, bool markerStart) {
    const double begin = RangeBeginSeconds(t);
    if (markerStart) {
        const double lead = (kMarkerScale - t.lngMarkerFrom) / 1000.0;
        return std::max(begin, RangeEndSeconds(t) - lead);
    }
    // A successor after a gap counts the gap as waited: only what it is later
    // than that skips into its range. Never before its begin: the reference
    // moment is taken again as the successor starts, and the gap taken from
    // that played the sound before the range.
    const double gap = t.sngOvertake >= 0 ? t.sngOvertake : 0.0;
    return std::max(begin, begin + (elapsedMs + 1) * 0.001 - gap);
}

QString TimeLabelText(const cPozycjaMP3& t, double seconds) {
    // Shown to the hundredth, then as whole seconds, halves to even.
    const double shown = RoundHalfEven(seconds * 100.0) / 100.0;
    const std::int64_t w = std::max<std::int64_t>(0, RoundHalfEven(shown));
    QString text = QStringLiteral("%1 : %2").arg(w / 60).arg(w % 60);
    if (t.lngLoopCountBackup > 0)
        text += QStringLiteral("\r\n ") + GetText(3100) + QLatin1Char(' ') +
                QString::number(t.lngLoopCountBackup - t.lngLoopCount) + QStringLiteral(" / ") +
                QString::number(t.lngLoopCountBackup);
    return text;
}

} // namespace kelbrin
