#pragma once
// Track times as the track record holds them: minutes, seconds (0-59) and
// milliseconds (0-999). Every piece the splitter makes keeps its range in
// these fields, so the conversions live in one place.

#include <cstdint>

namespace kelbrin {

class cPozycjaMP3;

struct TrackTime {
    std::int32_t m = 0;
    std::int32_t s = 0;
    std::int32_t ms = 0;

    friend bool operator==(const TrackTime&, const TrackTime&) = default;
};

// Whole seconds are floor(t), milliseconds the rounded fraction, a rounding up
// to 1000 carrying into the seconds: 125.6 s is 2:05.600. Below 0 gives 0.
TrackTime SecondsToTrackTime(double seconds);
double TrackTimeSeconds(const TrackTime& time);
// Whole milliseconds, for exact comparisons.
std::int64_t TrackTimeMilliseconds(const TrackTime& time);

// Nearest thousandth of a second.
double RoundToMilliseconds(double seconds);

TrackTime StartTime(const cPozycjaMP3& track);
TrackTime EndTime(const cPozycjaMP3& track);
void SetStartTime(cPozycjaMP3& track, const TrackTime& time);
void SetEndTime(cPozycjaMP3& track, const TrackTime& time);

} // namespace kelbrin
