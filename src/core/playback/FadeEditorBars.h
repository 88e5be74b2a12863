#pragma once
// The fade editor's seven bars and the track fields behind them: what each
// bar shows for the stored fields, and what a moved bar writes back.
//
// Bars: the horizontal ones run 0..32767 (fade-in length in ms; fade-out
// length counted from the right, Max - Value ms; overtake (Value - 16383.5) /
// 500 s, the centre meaning none); the vertical ones show a volume in dB,
// 0 (top) .. -100 (bottom).
//
// Loading writes nothing: a stored value the bar cannot show is clamped into
// the bar's range for display only, and the track keeps what it held until
// the user moves that bar.

#include <QString>
#include <cstdint>

namespace kelbrin {

class cPozycjaMP3;

constexpr int kFadeBarMax = 32767;
constexpr int kVolumeBarMin = -100;

struct FadeEditorBars {
    int volumeOut = 0;        // VScrVolumeOut: ending track's lngVolume
    int volumeOutEnd = -100;  // VScrVolumeOutEnd: ending track's lngVolumeEnd
    int volumeInStart = -100; // VScrVolumeInStart: starting track's lngVolumeStart
    int volumeIn = 0;         // VScrVolumeIn: starting track's lngVolume
    int fadeOutTime = 1000;   // HScrFadeOutTime
    int fadeInTime = 0;       // HScrFadeInTime
    int overtake = 16383;     // HscrOvertake
};

// The bar values for the stored fields (`hasEnding`: the starting track has a
// predecessor; without one the overtake bar stays at its centre).
FadeEditorBars LoadFadeEditorBars(const cPozycjaMP3& ending, const cPozycjaMP3& starting, bool hasEnding);

// A volume bar's value for a stored volume (1/100 dB) and back.
int VolumeBarValue(std::int32_t hundredthsDb);
std::int32_t VolumeOfBar(int value);
// The overtake in seconds, two decimals, that the bar's value stands for.
float OvertakeOfBar(int value);
// The number texts of the labels ("0.00").
QString FadeLabelText(double seconds);
// The fade-in length that the bar's value stands for, in the preview graph's
// time (what sngFadeInTimeOld holds and the fade-in label shows).
float FadeInGraphSeconds(const cPozycjaMP3& starting, int value, double graphDuration,
                         bool oldAlgorithm);

// The start of the track's range in seconds of track time.
float TrackBeginSeconds(const cPozycjaMP3& t);
float TrackEndSeconds(const cPozycjaMP3& t);

// What the bars write: each bar its own field, and the track is marked
// modified. `graphDuration` is the preview graph's duration, for
// the fields kept in graph time (the ones ending in Old).
void WriteFadeInTime(cPozycjaMP3& starting, int value, double graphDuration, bool oldAlgorithm);
void WriteFadeOutTime(cPozycjaMP3& ending, int value, double graphDuration, bool oldAlgorithm);
void WriteStartingVolume(cPozycjaMP3& starting, int volumeInStart);
void WriteStartingVolumeIn(cPozycjaMP3& starting, int volumeIn);
void WriteOvertake(cPozycjaMP3& starting, int overtake);
void WriteEndingVolume(cPozycjaMP3& ending, int volumeOut);
void WriteEndingVolumeEnd(cPozycjaMP3& ending, int volumeOutEnd);

} // namespace kelbrin
