// Tempo tapping on virtual time and matching another track's tempo through
// the speed bar.
#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjeMP3.h"
#include "core/playback/PanelTempo.h"
#include "core/playback/PreviewPlayer.h"
#include "platform/media/VirtualClock.h"
#include "platform/settings/MemorySettingsStore.h"

#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

struct Host final : PreviewHost {
    QString deviceName() const override { return QStringLiteral("null"); }
    bool mainWindowVisible() const override { return true; }
    bool framesUnit() const override { return false; }
};

TEST(TempoTap, PairsOfClicksGiveTheMeanTempo) {
    VirtualClock clock{5000};
    TempoTap tap(clock);
    std::optional<std::int32_t> mean;
    for (int i = 0; i < 8; ++i, clock.advance(500))
        if (auto m = tap.Tap())
            mean = m;
    EXPECT_EQ(mean, 120);
    // A pause between pairs does not count; 120 four times and 150 give 126.
    clock.advance(7000);
    tap.Tap();
    clock.advance(400);
    EXPECT_EQ(tap.Tap(), 126);
    // A reset between the clicks of a pair: the pair still closes against
    // the click before the reset. Two clicks at once give 0.
    tap.Tap();
    tap.Reset();
    clock.advance(600);
    EXPECT_EQ(tap.Tap(), 100);
    tap.Tap();
    EXPECT_EQ(tap.Tap(), 50);
    EXPECT_EQ(tap.samples, (QList<std::int32_t>{0, 100, 0}));
}

class PanelTempoTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetSettingsStore(std::make_unique<MemorySettingsStore>());
        track = add(1, QStringLiteral("Panel"), 0);
        preview.Load(track);
    }
    void TearDown() override { SetSettingsStore(nullptr); }
    std::shared_ptr<cPozycjaMP3> add(std::int32_t number, const QString& label, std::int32_t bpm) {
        auto t = std::make_shared<cPozycjaMP3>();
        t->lngNrPozycji = number;
        t->strLabel = label;
        t->lngBPM = bpm;
        tracks.Add(t);
        return t;
    }
    Host host;
    ProgramObjects& program = test::ResetProgramObjects();
    PreviewPlayer preview{host, program.session, program.settings, program.outputs};
    VirtualClock clock{1000};
    PanelTempo tempo{preview, clock};
    cPozycjeMP3 tracks;
    std::shared_ptr<cPozycjaMP3> track;
};

TEST_F(PanelTempoTest, TappingStoresTheTempoAtNormalSpeed) {
    preview.HScrSpeed_Change(150);
    EXPECT_FALSE(tempo.canMatch());
    tempo.cmdBPM_Click();
    clock.advance(500);
    tempo.cmdBPM_Click();
    EXPECT_EQ(preview.speedBar, 100);
    EXPECT_EQ(preview.bpmCaption(), QStringLiteral("120"));
    EXPECT_EQ(track->lngBPM, 120);
    EXPECT_TRUE(track->blnZmodyfikowana && tempo.canMatch());

    // Reset shows 0 and forgets the samples; the track keeps its tempo.
    preview.HScrSpeed_Change(80);
    tempo.cmdReset_Click();
    EXPECT_EQ(preview.speedBar, 100);
    EXPECT_EQ(tempo.tap.samples.size(), 1);
    EXPECT_EQ(track->lngBPM, 120);
    EXPECT_FALSE(tempo.canMatch());
}

TEST_F(PanelTempoTest, MatchingSetsTheSpeedBar) {
    add(2, QStringLiteral("Faster"), 120);
    add(3, QStringLiteral("Unknown"), 0);
    add(4, QStringLiteral("Far too fast"), 350);
    add(5, QStringLiteral("Far too slow"), 0);
    tracks.Item(5)->lngBPM = 1;
    // Nothing to match from without a tempo of its own.
    EXPECT_FALSE(tempo.mnuSync_Click(tracks, 2));
    tempo.SetTempo(100);
    EXPECT_TRUE(tempo.mnuSync_Click(tracks, 2));
    EXPECT_EQ(preview.speedBar, 120);
    EXPECT_FLOAT_EQ(track->sngRate, 1.2f);
    EXPECT_EQ(preview.bpmCaption(), QStringLiteral("120"));
    // A target without a tempo, or a number no track has, changes nothing.
    EXPECT_FALSE(tempo.mnuSync_Click(tracks, 3));
    EXPECT_FALSE(tempo.mnuSync_Click(tracks, 99));
    EXPECT_EQ(preview.speedBar, 120);
    // Beyond the bar's reach the speed stops at its ends.
    EXPECT_TRUE(tempo.mnuSync_Click(tracks, 4));
    EXPECT_EQ(preview.speedBar, 200);
    tempo.SetTempo(250);
    EXPECT_TRUE(tempo.mnuSync_Click(tracks, 5)); // 100 / 250 is 0 per cent
    EXPECT_EQ(preview.speedBar, 1);

    EXPECT_EQ(MatchSpeed(90, 120), 133);
    EXPECT_EQ(MatchSpeed(120, -5), std::nullopt);

    // The menu names each track with its tempo at its own speed.
    auto other = add(7, QStringLiteral("Other"), 100);
    other->sngRate = 0.7f;
    EXPECT_EQ(SyncItemCaption(tracks, 7), QStringLiteral("Other (70 BPM)"));
    EXPECT_EQ(SyncItemCaption(tracks, 8), QString());
}


} // namespace
