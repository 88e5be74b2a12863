#pragma once
// The sums the sequence player makes on one track: its range in seconds, the
// volume a fade asks for at a position, where a track starts, and the text of
// its time label. Pure functions of the track's fields and the graph's
// position, so they are tested on their own.

#include <QString>
#include <cstdint>
#include <optional>

namespace kelbrin {

class cPozycjaMP3;

// Begin and end of the track's range in seconds of track time.
double RangeBeginSeconds(const cPozycjaMP3& track);
double RangeEndSeconds(const cPozycjaMP3& track);

// A volume brought into -10000..0 (1/100 dB).
std::int32_t ClampVolume(double hundredthsDb);

// Both fades are linear between their two volumes. r is the part of the fade
// still to come, clamped to 0..1; `lead` is OverTakeSeconds. Nothing when the
// fade does not act now.
//
// Fade-out, for a track that has a successor: r = (stop - cur + lead) / fade
// time, so it leaves lngVolume at stop - fade time + lead and nears
// lngVolumeEnd at the stop time (r = lead / fade time there); it acts once r < 1.
std::optional<std::int32_t> FadeOutVolume(const cPozycjaMP3& track, double cur, double stop,
                                          double lead);
// Fade-in, for a track that follows another: from lngVolumeStart up to
// lngVolume at the graph position `fadeInEnd` (see FadeInEndSeconds),
// r = (fadeInEnd - (cur + lead)) / fade time; it acts once r < 1. Past its
// end the fade asks for lngVolume itself, so the body never plays on at a
// ramp's volume. `currentVolume` is the graph's volume now.
std::optional<std::int32_t> FadeInVolume(const cPozycjaMP3& track, double cur, double lead,
                                         std::int32_t currentVolume, double fadeInEnd);

// Where the fade-in ends, in graph time: the fade length after the range's
// begin as it stands now. The stored end (sngFadeInOffsetTimeOld) was worked
// out from the begin of the moment the fade was set, and a later edit of the
// range would leave it behind.
double FadeInEndSeconds(const cPozycjaMP3& track, double graphDuration, bool oldAlgorithm);

// The track fades in: it follows another, with a fade length and a start
// volume of its own.
bool HasFadeIn(const cPozycjaMP3& track);

// The volume a track starts at: its fade-in start volume when it has a
// fade-in, except for the first track of a marker-mode run, which starts at
// its body volume.
std::int32_t StartVolume(const cPozycjaMP3& track, bool markerStart);

// Where a track starts, in track time. A normal start goes `elapsedMs` + 1 ms
// into the range (the time since the run's reference moment), less a positive
// overtake (the gap already waited), never before the range's begin. A marker-mode start
// plays only the last (32767 - lngMarkerFrom) ms of the range, and a range
// shorter than that from its begin.
double StartSeconds(const cPozycjaMP3& track, std::int64_t elapsedMs, bool markerStart);

// The time label: whole minutes " : " seconds of `trackSeconds`, and for a
// track with a loop count a second line with text 3100 and the passes done.
QString TimeLabelText(const cPozycjaMP3& track, double trackSeconds);

} // namespace kelbrin
