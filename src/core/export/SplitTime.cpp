#include "SplitTime.h"

#include "core/document/cPozycjaMP3.h"

#include <cmath>

namespace kelbrin {

TrackTime SecondsToTrackTime(double seconds) {
    if (!(seconds > 0))
        return {};
    // Rounding the whole value to milliseconds is floor(t) plus the rounded
    // fraction, with the carry already in place.
    const auto total = static_cast<std::int64_t>(std::llround(seconds * 1000.0));
    TrackTime t;
    t.ms = static_cast<std::int32_t>(total % 1000);
    const std::int64_t wholeSeconds = total / 1000;
    t.s = static_cast<std::int32_t>(wholeSeconds % 60);
    t.m = static_cast<std::int32_t>(wholeSeconds / 60);
    return t;
}

std::int64_t TrackTimeMilliseconds(const TrackTime& time) {
    return (std::int64_t(time.m) * 60 + time.s) * 1000 + time.ms;
}

double TrackTimeSeconds(const TrackTime& time) {
    return double(time.m) * 60.0 + double(time.s) + double(time.ms) * 0.001;
}

double RoundToMilliseconds(double seconds) {
    return std::round(seconds * 1000.0) / 1000.0;
}

TrackTime StartTime(const cPozycjaMP3& track) {
    return {track.lngPoczatek_M, track.lngPoczatek_S, track.lngPoczatek_SS};
}

TrackTime EndTime(const cPozycjaMP3& track) {
    return {track.lngKoniec_M, track.lngKoniec_S, track.lngKoniec_SS};
}

void SetStartTime(cPozycjaMP3& track, const TrackTime& time) {
    track.lngPoczatek_M = time.m;
    track.lngPoczatek_S = time.s;
    track.lngPoczatek_SS = time.ms;
}

void SetEndTime(cPozycjaMP3& track, const TrackTime& time) {
    track.lngKoniec_M = time.m;
    track.lngKoniec_S = time.s;
    track.lngKoniec_SS = time.ms;
}

} // namespace kelbrin
