// The fades, start positions and time label texts of the sequence player.
#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjaMP3.h"
#include "core/playback/DelayTimerArray.h"
#include "core/playback/PlayMath.h"
#include "platform/media/VirtualClock.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

cPozycjaMP3 FadingOut() {
    cPozycjaMP3 t;
    t.lngNrPozycji = 1;
    t.lngVolume = 0;
    t.lngVolumeEnd = -10000;
    t.sngFadeOutTimeOld = 5;
    t.colNastepnik = {2};
    return t;
}

TEST(PlayMath, FadeOutIsLinearFromTheBodyVolumeTowardsTheEndVolume) {
    const cPozycjaMP3 t = FadingOut();
    const double stop = 20, lead = 0.15;
    EXPECT_FALSE(FadeOutVolume(t, stop - 5.15, stop, lead)) << "r above 1: not yet";
    EXPECT_FALSE(FadeOutVolume(t, stop - 4.9, stop, lead)) << "the lead holds the body volume on";
    EXPECT_EQ(FadeOutVolume(t, stop - 4.8, stop, lead), -100);
    EXPECT_EQ(FadeOutVolume(t, stop - 2.35, stop, lead), -5000);
    EXPECT_EQ(FadeOutVolume(t, stop - 0.15, stop, lead), -9400) << "still heard at the successor's moment";
    EXPECT_EQ(FadeOutVolume(t, stop, stop, lead), -9700);
    EXPECT_EQ(FadeOutVolume(t, stop + 1, stop, lead), -10000) << "r is clamped at 0";

    cPozycjaMP3 rising = t; // a fade-out may also rise
    rising.lngVolume = -8000;
    rising.lngVolumeEnd = -2000;
    EXPECT_EQ(FadeOutVolume(rising, stop - 2.35, stop, lead), -5000);
    cPozycjaMP3 loud = t;   // volumes beyond the scale are brought back into it
    loud.lngVolume = 3000;
    loud.lngVolumeEnd = -12000;
    EXPECT_EQ(FadeOutVolume(loud, stop + 1, stop, lead), -10000);
    EXPECT_EQ(FadeOutVolume(loud, stop - 4.6, stop, lead), 0);
}

TEST(PlayMath, NoFadeOutWithoutSuccessorOrLengthOrChange) {
    cPozycjaMP3 last = FadingOut();
    last.colNastepnik.clear();
    EXPECT_FALSE(FadeOutVolume(last, 19, 20, 0));
    cPozycjaMP3 flat = FadingOut();
    flat.lngVolumeEnd = 0;
    EXPECT_FALSE(FadeOutVolume(flat, 19, 20, 0));
    cPozycjaMP3 none = FadingOut();
    none.sngFadeOutTimeOld = 0;
    EXPECT_FALSE(FadeOutVolume(none, 19.99, 20, 0));
}

TEST(PlayMath, FadeInRisesToTheBodyVolumeAndEndsThere) {
    cPozycjaMP3 t;
    t.lngNrPozycji = 2;
    t.lngTrack = 1;
    t.lngVolumeStart = -10000;
    t.lngVolume = -1000;
    t.sngFadeInTimeOld = 2;
    const double end = 3; // where the ramp ends
    EXPECT_FALSE(FadeInVolume(t, 0.5, 0, -10000, end)) << "before the ramp";
    EXPECT_EQ(FadeInVolume(t, 2, 0, -10000, end), -5500);
    EXPECT_EQ(FadeInVolume(t, 1.85, 0.15, -10000, end), -5500) << "the lead moves the ramp earlier";
    EXPECT_EQ(FadeInVolume(t, 3.5, 0, -3000, end), -1000) << "past its end the body volume, not the ramp's last step";
    EXPECT_FALSE(FadeInVolume(t, 3.5, 0, -1000, end)) << "once there, nothing more";
    cPozycjaMP3 own = t;
    own.lngTrack = 2; // a detached track has no predecessor to fade in from
    EXPECT_FALSE(FadeInVolume(own, 2, 0, -10000, end));

    EXPECT_EQ(StartVolume(t, false), -10000);
    EXPECT_EQ(StartVolume(t, true), -1000) << "the first track in marker mode starts at its body volume";
    t.sngFadeInTimeOld = 0;
    EXPECT_EQ(StartVolume(t, false), -1000);
}

TEST(PlayMath, StartPositions) {
    cPozycjaMP3 t;
    t.lngPoczatek_S = 1;
    t.lngKoniec_S = 10;
    t.sngOvertake = 2.0f;
    EXPECT_NEAR(StartSeconds(t, 2300, false), 1.301, 1e-9) << "2.3 s after the reference, less the 2 s gap";
    EXPECT_DOUBLE_EQ(StartSeconds(t, 0, false), 1.0) << "a successor started at once after its gap begins at its begin";
    t.sngOvertake = -0.5f;
    EXPECT_NEAR(StartSeconds(t, 0, false), 1.001, 1e-9);

    // Marker mode plays the last (32767 - lngMarkerFrom) ms, and a range
    // shorter than that from its begin; the marker itself is never changed.
    t.lngMarkerFrom = 30767;
    EXPECT_NEAR(StartSeconds(t, 5000, true), 8.0, 1e-9);
    t.lngMarkerFrom = 1000;
    EXPECT_DOUBLE_EQ(StartSeconds(t, 5000, true), 1.0);
    EXPECT_EQ(t.lngMarkerFrom, 1000);
}

TEST(PlayMath, TimeLabels) {
    test::ResetProgramObjects();
    Catalog().load(test::SourceDir() + "/resources/Kelbrin.ini");
    Catalog().setLanguage("ENGLISH");
    cPozycjaMP3 t;
    EXPECT_EQ(TimeLabelText(t, 75.4), "1 : 15");
    EXPECT_EQ(TimeLabelText(t, 59.996), "1 : 0") << "59.996 shows as 60.00";
    EXPECT_EQ(TimeLabelText(t, 0.2), "0 : 0");
    t.lngLoopCountBackup = 3;
    t.lngLoopCount = 2;
    EXPECT_EQ(TimeLabelText(t, 3), "0 : 3\r\n " + GetText(3100) + " 1 / 3");
    EXPECT_FALSE(GetText(3100).isEmpty());
}

TEST(DelayTimers, TickWritesZeroKeepsTickingAndRestartsOnEnable) {
    VirtualClock clock;
    DelayTimerArray timers(clock);
    timers.SetEnabled(3, true); // not loaded: ignored
    EXPECT_FALSE(timers.Enabled(3));
    timers.Load(3);
    timers.Load(4);
    timers.SetInterval(3, 2000);
    timers.SetTag(3, "3");
    timers.SetTag(4, "4");
    timers.SetEnabled(3, true);
    clock.advance(1500);
    timers.SetEnabled(3, false); // a pause
    clock.advance(5000);
    EXPECT_EQ(timers.Tag(3), "3");
    timers.SetEnabled(3, true);  // the interval starts afresh
    clock.advance(1999);
    EXPECT_EQ(timers.Tag(3), "3");
    clock.advance(1);
    EXPECT_EQ(timers.Tag(3), "0");
    EXPECT_EQ(timers.Tag(4), "4") << "a tick writes only its own tag";
    EXPECT_TRUE(timers.Enabled(3));
    timers.SetTag(3, "3");
    clock.advance(2000);
    EXPECT_EQ(timers.Tag(3), "0") << "it goes on ticking until it is switched off";
    timers.UnloadAll();
    EXPECT_EQ(clock.pendingCalls(), 0);
}

} // namespace
