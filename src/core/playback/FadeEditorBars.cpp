#include "FadeEditorBars.h"

#include "core/app/Numbers.h"
#include "core/app/PathProcedures.h"
#include "core/document/cPozycjaMP3.h"

#include <algorithm>
#include <cmath>

namespace kelbrin {

namespace {

int ClampBar(double v) {
    if (!std::isfinite(v))
        return v > 0 ? kFadeBarMax : 0;
    return static_cast<int>(RoundHalfEven(std::clamp(v, 0.0, double(kFadeBarMax))));
}

// A float times 1000 read through its shortest text, so 0.3 s gives 300.
double Milliseconds(float seconds) {
    const float product = seconds * 1000.0f;
    return QString::number(double(product), 'g', 7).toDouble();
}

} // namespace

int VolumeBarValue(std::int32_t hundredthsDb) {
    const double db = std::abs(double(hundredthsDb) / 100.0);
    return -static_cast<int>(std::min<std::int64_t>(RoundHalfEven(db), 100));
}

std::int32_t VolumeOfBar(int value) { return -std::abs(std::clamp(value, kVolumeBarMin, 0) * 100); }

float OvertakeOfBar(int value) {
    const double seconds = (value - kFadeBarMax / 2.0) / 500.0;
    return static_cast<float>(FadeLabelText(seconds).toDouble());
}

QString FadeLabelText(double seconds) {
    QString text = QString::number(seconds, 'f', 2);
    if (text == QLatin1String("-0.00"))
        text = QStringLiteral("0.00");
    return text;
}

// The whole seconds are counted wide: a script may give any number of minutes.
float TrackBeginSeconds(const cPozycjaMP3& t) {
    return static_cast<float>(std::int64_t(t.lngPoczatek_M) * 60 + t.lngPoczatek_S) +
           t.lngPoczatek_SS * 0.001f;
}

float TrackEndSeconds(const cPozycjaMP3& t) {
    return static_cast<float>(std::int64_t(t.lngKoniec_M) * 60 + t.lngKoniec_S) +
           t.lngKoniec_SS * 0.001f;
}

FadeEditorBars LoadFadeEditorBars(const cPozycjaMP3& e, const cPozycjaMP3& s, bool hasEnding) {
    FadeEditorBars b;
    b.volumeOutEnd = VolumeBarValue(e.lngVolumeEnd);
    b.fadeOutTime = ClampBar(kFadeBarMax - double(e.sngFadeOutTime) * 1000.0);
    b.volumeOut = VolumeBarValue(e.lngVolume);
    b.volumeInStart = VolumeBarValue(s.lngVolumeStart);
    b.fadeInTime = ClampBar(Milliseconds(s.sngFadeInTime));
    b.volumeIn = VolumeBarValue(s.lngVolume);
    const float p = 16385.0f + s.sngOvertake * 500.0f;
    b.overtake = hasEnding ? ClampBar(p) : 16385;
    return b;
}

float FadeInGraphSeconds(const cPozycjaMP3& s, int value, double graphDuration, bool oldAlgorithm) {
    const float trackSeconds = static_cast<float>(value) / 1000.0f;
    return static_cast<float>(
        RescaleToPlayerTime(trackSeconds, s.dblDuration, graphDuration, oldAlgorithm));
}

void WriteFadeInTime(cPozycjaMP3& s, int value, double graphDuration, bool oldAlgorithm) {
    s.sngFadeInTime = static_cast<float>(value) / 1000.0f;
    s.sngFadeInOffsetTime = TrackBeginSeconds(s) + s.sngFadeInTime;
    s.sngFadeInTimeOld = FadeInGraphSeconds(s, value, graphDuration, oldAlgorithm);
    s.sngFadeInOffsetTimeOld = static_cast<float>(
        RescaleToPlayerTime(s.sngFadeInOffsetTime, s.dblDuration, graphDuration, oldAlgorithm));
    s.blnZmodyfikowana = true;
}

void WriteFadeOutTime(cPozycjaMP3& e, int value, double graphDuration, bool oldAlgorithm) {
    e.sngFadeOutTime = static_cast<float>(kFadeBarMax / 1000.0 - value / 1000.0);
    e.sngFadeOutTimeOld = static_cast<float>(
        RescaleToPlayerTime(e.sngFadeOutTime, e.dblDuration, graphDuration, oldAlgorithm));
    e.blnZmodyfikowana = true;
}

void WriteStartingVolume(cPozycjaMP3& s, int volumeInStart) {
    s.lngVolumeStart = VolumeOfBar(volumeInStart);
    s.blnZmodyfikowana = true;
}

void WriteStartingVolumeIn(cPozycjaMP3& s, int volumeIn) {
    s.lngVolume = VolumeOfBar(volumeIn);
    s.blnZmodyfikowana = true;
}

void WriteOvertake(cPozycjaMP3& s, int overtake) {
    s.sngOvertake = OvertakeOfBar(overtake);
    s.blnZmodyfikowana = true;
}

void WriteEndingVolume(cPozycjaMP3& e, int volumeOut) {
    e.lngVolume = VolumeOfBar(volumeOut);
    e.blnZmodyfikowana = true;
}

void WriteEndingVolumeEnd(cPozycjaMP3& e, int volumeOutEnd) {
    e.lngVolumeEnd = VolumeOfBar(volumeOutEnd);
    e.blnZmodyfikowana = true;
}

} // namespace kelbrin
