#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjaPlikow.h"
#include "core/document/cPozycjePlikow.h"
#include "core/playback/PreviewPlayer.h"
#include "platform/media/FakeMediaPlatform.h"
#include "platform/media/VirtualClock.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/ScriptedMessages.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace kelbrin;
using Op = FakePlaybackGraph::Op;

namespace {

struct Host final : PreviewHost {
    QString device = QStringLiteral("null");
    bool visible = true;
    bool frames = false;
    QString deviceName() const override { return device; }
    bool mainWindowVisible() const override { return visible; }
    bool framesUnit() const override { return frames; }
};

class PreviewPlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::ResetProgramObjects();
        Program().session.OpenFiles = std::make_shared<cPozycjePlikow>();
        store = new MemorySettingsStore;
        SetSettingsStore(std::unique_ptr<SettingsStore>(store));
        Catalog().load(test::SourceDir() + "/resources/Kelbrin.ini");
        Catalog().setLanguage("ENGLISH");
        auto c = std::make_unique<VirtualClock>(1000);
        clock = c.get();
        SetProgramClock(std::move(c));
        auto p = std::make_unique<FakeMediaPlatform>(*clock);
        media = p.get();
        SetMediaPlatform(std::move(p));
        auto m = std::make_unique<test::ScriptedMessages>();
        messages = m.get();
        SetMessageService(std::move(m));
        dir = test::MakeTempDir(QStringLiteral("preview"));
        source = test::WriteFile(dir + QStringLiteral("/song.mp3"), "x");
        media->durations[source] = 600;
        track = std::make_shared<cPozycjaMP3>();
        track->strFileNameSource = source;
        track->dblDuration = 600;
        setRange(*track, 10.5, 20.25);
        player = std::make_unique<PreviewPlayer>(host, Program().session, Program().settings,
                                                 Program().outputs);
        player->Load(track);
    }
    void TearDown() override {
        player.reset();
        SetMessageService(nullptr);
        SetMediaPlatform(nullptr);
        SetProgramClock(nullptr);
        SetSettingsStore(nullptr);
    }
    static void setRange(cPozycjaMP3& t, double b, double e) {
        auto split = [](double s, std::int32_t& m, std::int32_t& sec, std::int32_t& ms) {
            const auto total = static_cast<std::int64_t>(s * 1000 + 0.5);
            m = static_cast<std::int32_t>(total / 60000);
            sec = static_cast<std::int32_t>(total / 1000 % 60);
            ms = static_cast<std::int32_t>(total % 1000);
        };
        split(b, t.lngPoczatek_M, t.lngPoczatek_S, t.lngPoczatek_SS);
        split(e, t.lngKoniec_M, t.lngKoniec_S, t.lngKoniec_SS);
    }
    std::shared_ptr<FakePlaybackGraph> graph() const { return media->graphFor(source); }

    Host host;
    MemorySettingsStore* store = nullptr;
    VirtualClock* clock = nullptr;
    FakeMediaPlatform* media = nullptr;
    test::ScriptedMessages* messages = nullptr;
    QString dir, source;
    std::shared_ptr<cPozycjaMP3> track;
    std::unique_ptr<PreviewPlayer> player;
};

TEST_F(PreviewPlayerTest, FourPlayModesSetStartAndStop) {
    struct Case { int mode; double pos, stop; };
    for (const Case c : {Case{0, 10.5, 20.25}, Case{1, 20.25, 600}, Case{2, 10.5, 600}, Case{3, 0, 600}}) {
        player->SetPlayMode(c.mode);
        auto g = graph();
        ASSERT_TRUE(g) << c.mode;
        EXPECT_EQ(track->lngSpOdtw, c.mode);
        EXPECT_DOUBLE_EQ(g->currentPosition(), c.pos) << c.mode;
        EXPECT_DOUBLE_EQ(g->stopTime(), c.stop) << c.mode;
        EXPECT_EQ(g->state(), GraphState::Running);
    }
    // One graph for all four starts: a second press reuses it and starts over.
    EXPECT_EQ(media->built.size(), 1);
    clock->advance(2000);
    player->SetPlayMode(0);
    EXPECT_DOUBLE_EQ(graph()->currentPosition(), 10.5);
    EXPECT_EQ(media->built.size(), 1);
}

TEST_F(PreviewPlayerTest, RangeIsRescaledToTheGraphsTime) {
    track->dblDuration = 1200; // the graph is half as long as the track's scale
    player->SetPlayMode(0);
    EXPECT_DOUBLE_EQ(graph()->currentPosition(), 5.25);
    EXPECT_DOUBLE_EQ(graph()->stopTime(), 10.125);
}

TEST_F(PreviewPlayerTest, BarsSteerThePreviewAndTheTrack) {
    track->lngVolume = -3500;
    track->lngBalance = 2000;
    track->sngRate = 1.5f;
    track->lngSpOdtw = 3; // the whole file, so the seek below is inside the range
    player->Load(track);
    player->cmdPlay2_Click();
    auto g = graph();
    EXPECT_EQ(g->volume(), -3500);
    EXPECT_EQ(g->balance(), -2000);
    EXPECT_DOUBLE_EQ(g->rate(), 1.5);
    player->VScrVolume_Change(-20);
    player->HScrBalance_Change(-500);
    player->HScrSpeed_Change(80);
    EXPECT_EQ(track->lngVolume, -2000);
    EXPECT_EQ(g->volume(), -2000);
    EXPECT_EQ(track->lngBalance, -500);
    EXPECT_EQ(g->balance(), 500);
    EXPECT_FLOAT_EQ(track->sngRate, 0.8f);
    EXPECT_DOUBLE_EQ(g->rate(), 0.8);
    EXPECT_TRUE(track->blnZmodyfikowana);
    // A speed of 0 changes nothing.
    player->HScrSpeed_Change(0);
    EXPECT_FLOAT_EQ(track->sngRate, 0.8f);
    // Seek: the bar's whole length is the graph's duration.
    player->HScrSeek_Scroll(PreviewPlayer::kSeekMax / 2);
    EXPECT_NEAR(g->currentPosition(), 300, 0.01);
    EXPECT_FALSE(player->blnPanelBusy);
    // Pause and resume; stop keeps the graph and the position.
    player->cmdPause2_Click();
    EXPECT_EQ(g->state(), GraphState::Paused);
    player->cmdPause2_Click();
    EXPECT_EQ(g->state(), GraphState::Running);
    player->cmdStop2_Click();
    EXPECT_EQ(g->state(), GraphState::Stopped);
    EXPECT_TRUE(player->MediaControl);
}

TEST_F(PreviewPlayerTest, SpeedBarAtZeroPlaysAtOnePercentAndTheTracksOwnGraphFollows) {
    track->sngRate = 0;
    player->Load(track);
    EXPECT_EQ(player->speedBar, 0);
    player->cmdPlay2_Click();
    EXPECT_DOUBLE_EQ(graph()->rate(), 0.01);
    EXPECT_FLOAT_EQ(track->sngRate, 0.0f);

    FakePlaybackGraph own(*clock, source, QStringLiteral("null"), 600);
    std::shared_ptr<PlaybackGraph> ownRef(&own, [](PlaybackGraph*) {});
    track->AttachGraph(ownRef);
    player->VScrVolume_Change(-7);
    player->HScrSpeed_Change(150);
    EXPECT_EQ(own.volume(), -700);
    EXPECT_DOUBLE_EQ(own.rate(), 1.5);
    host.visible = false;
    player->VScrVolume_Change(-9);
    EXPECT_EQ(own.volume(), -700);
    track->ReleaseGraph();
}

TEST_F(PreviewPlayerTest, LoadingShowsTheBarsWithoutWritingTheTrack) {
    track->lngVolume = -2050;
    track->sngRate = 0.333f;
    track->lngBalance = 123;
    player->Load(track);
    EXPECT_EQ(player->volumeBar, -20); // -20.5 to even
    EXPECT_EQ(player->speedBar, 33);
    EXPECT_EQ(player->balanceBar, 123);
    EXPECT_EQ(track->lngVolume, -2050);
    EXPECT_FLOAT_EQ(track->sngRate, 0.333f);
    EXPECT_FALSE(track->blnZmodyfikowana);
}

TEST_F(PreviewPlayerTest, EveryWayOutOfTheStartClearsTheBusyFlag) {
    // Missing source.
    track->strFileNameSource = dir + QStringLiteral("/gone.mp3");
    player->cmdPlay2_Click();
    EXPECT_FALSE(player->blnPanelBusy);
    EXPECT_FALSE(player->MediaControl);
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].textNumber, 3025);
    EXPECT_TRUE(messages->shown[0].text.contains(QStringLiteral("gone.mp3")));
    // A graph that cannot be built.
    track->strFileNameSource = source;
    media->unplayable << source;
    player->cmdPlay2_Click();
    EXPECT_FALSE(player->blnPanelBusy);
    EXPECT_FALSE(player->MediaControl);
    EXPECT_EQ(messages->shown.last().textNumber, 3162);
    // The watch and the marker buttons act again afterwards.
    media->unplayable.clear();
    player->cmdPlay2_Click();
    ASSERT_TRUE(graph());
    player->cmdMove2_Click(3);
    EXPECT_DOUBLE_EQ(graph()->currentPosition(), 15.5);
}

TEST_F(PreviewPlayerTest, LoadingAnotherTrackReleasesTheGraphAndItsPoints) {
    test::WriteFile(dir + QStringLiteral("/song.tim"), "\r\n100\r\n-170");
    player->cmdPlay2_Click();
    EXPECT_EQ(player->lngOffs, -1);
    EXPECT_EQ(player->lngTimPoints, (QList<std::int32_t>{100, 135, 170}));
    std::weak_ptr<FakePlaybackGraph> first = graph();
    auto other = std::make_shared<cPozycjaMP3>();
    other->strFileNameSource = test::WriteFile(dir + QStringLiteral("/other.mp3"), "y");
    player->Load(other);
    EXPECT_TRUE(first.expired());
    EXPECT_FALSE(player->MediaControl);
    EXPECT_TRUE(player->lngTimPoints.isEmpty());
    EXPECT_EQ(player->lngOffs, -2);
    // The next start builds a graph for the new track, without points.
    player->cmdPlay2_Click();
    EXPECT_TRUE(media->graphFor(other->strFileNameSource));
    EXPECT_EQ(player->lngOffs, -2);
}

TEST_F(PreviewPlayerTest, OpenTypeTwoReadsNoSegmentList) {
    test::WriteFile(dir + QStringLiteral("/song.tim"), "\r\n100\r\n-170");
    store->values[QStringLiteral("OpenType")] = QStringLiteral("2");
    player->cmdPlay2_Click();
    EXPECT_EQ(player->lngOffs, -2);
}

TEST_F(PreviewPlayerTest, WatchShowsTimeMovesTheSeekBarAndLoopsTheRange) {
    EXPECT_EQ(player->Timer1_Timer(), QString()); // no graph: cleared
    player->SetPlayMode(3);
    graph()->setCurrentPosition(125.6);
    EXPECT_EQ(player->Timer1_Timer(), QStringLiteral("2 : 5"));
    EXPECT_EQ(player->seekBar, 6859); // 125.6 / 600 x 32767
    player->blnPanelBusy = true;
    EXPECT_EQ(player->Timer1_Timer(), QString());
    player->blnPanelBusy = false;

    // The loop restarts the range OverTakeSeconds before its stop.
    player->SetPlayMode(0);
    player->mnuPLoop = true;
    clock->advance(9700); // 10.5 + 9.7 = 20.2, within 0.15 s of 20.25
    player->Timer1_Timer();
    EXPECT_DOUBLE_EQ(graph()->currentPosition(), 10.5);
    clock->advance(9000);
    player->Timer1_Timer();
    EXPECT_DOUBLE_EQ(graph()->currentPosition(), 19.5); // not yet
}

TEST_F(PreviewPlayerTest, FrameUnitsShowTheFrameNumber) {
    auto file = std::make_shared<cPozycjaPlikow>();
    file->strFileName = source;
    file->btyFrame2 = 0xFB; // MPEG-1 Layer III
    file->btyFrame3 = 0x00; // 44100 Hz
    EXPECT_FALSE(PreviewTimeText(Program().session, 125.6, true, source)); // not open: kept
    EXPECT_EQ(PreviewTimeText(Program().session, 125.6, false, source), QStringLiteral("2 : 5"));
    Program().session.OpenFiles->Add(file);
    EXPECT_FALSE(
        PreviewTimeText(Program().session, 125.6, true, source)); // no frames indexed: kept
    file->Add_Naglowek(0, 0xFB, 0x00, 0x00);
    // 44100 x 125.6 = 5,538,960 samples: 4808 frames of 1152.
    EXPECT_EQ(PreviewTimeText(Program().session, 125.6, true, source), QStringLiteral("4808"));
    file->btyFrame2 = 0xFF; // Layer I: 384 samples a frame
    EXPECT_EQ(PreviewTimeText(Program().session, 125.6, true, source), QStringLiteral("14424"));
}

TEST_F(PreviewPlayerTest, BeginTestPlaysThreeSecondsFromTheBeginOverAndOver) {
    player->mnuTest_B_Click(); // starts the preview first
    auto g = graph();
    ASSERT_TRUE(g);
    EXPECT_TRUE(player->mnuTest_B);
    EXPECT_TRUE(player->testLit[0]);
    EXPECT_DOUBLE_EQ(g->currentPosition(), 10.5);
    EXPECT_DOUBLE_EQ(g->stopTime(), 13.5);
    clock->advance(3200);
    EXPECT_DOUBLE_EQ(g->currentPosition(), 13.5);
    player->Timer1_Timer();
    EXPECT_DOUBLE_EQ(g->currentPosition(), 10.5);
    // Off: the play mode's range again, from where it was.
    clock->advance(1000);
    player->mnuTest_B_Click();
    EXPECT_FALSE(player->mnuTest_B);
    EXPECT_FALSE(player->testLit[0]);
    EXPECT_DOUBLE_EQ(g->stopTime(), 20.25);
    EXPECT_DOUBLE_EQ(g->currentPosition(), 11.5);
}

TEST_F(PreviewPlayerTest, EndTestPlaysTheLastThreeSeconds) {
    player->mnuTest_E_Click();
    auto g = graph();
    EXPECT_TRUE(player->testLit[1]);
    EXPECT_FALSE(player->testLit[0]);
    EXPECT_DOUBLE_EQ(g->stopTime(), 20.25);
    EXPECT_DOUBLE_EQ(g->currentPosition(), 17.25);
    clock->advance(3500);
    player->Timer1_Timer();
    EXPECT_DOUBLE_EQ(g->currentPosition(), 17.25);
    // A range ending at 2 s: the stop moves there, the position stays.
    player->mnuTest_E_Click();
    setRange(*track, 0, 2);
    player->cmdPlay2_Click();
    g->setCurrentPosition(1);
    player->mnuTest_E_Click();
    EXPECT_DOUBLE_EQ(g->stopTime(), 2);
    EXPECT_DOUBLE_EQ(g->currentPosition(), 1);
}

TEST_F(PreviewPlayerTest, ScanStepsEverySecondAndEndsAtTheStop) {
    player->SetPlayMode(0);
    player->mnuOption_Scan_Click();
    EXPECT_TRUE(player->scanTimerOn);
    player->Timer2_Timer();
    EXPECT_DOUBLE_EQ(graph()->currentPosition(), 15.5);
    player->Timer2_Timer();
    EXPECT_DOUBLE_EQ(graph()->currentPosition(), 20.25); // clamped to the stop
    EXPECT_FALSE(player->scanTimerOn);
    EXPECT_FALSE(player->mnuOption_Scan);
    // Backward scan, then forward ends it; a test turned on ends the scan.
    player->cmdPlay2_Click();
    player->mnuOption_Scan_B_Click();
    player->Timer2_Timer();
    EXPECT_DOUBLE_EQ(graph()->currentPosition(), 5.5);
    player->mnuOption_Scan_Click();
    EXPECT_FALSE(player->mnuOption_Scan_B);
    EXPECT_FALSE(player->mnuOption_Scan);
    EXPECT_FALSE(player->scanTimerOn);
    // Without a graph the first tick switches the scan off.
    player->Release();
    player->mnuOption_Scan_Click();
    player->Timer2_Timer();
    EXPECT_FALSE(player->scanTimerOn);
    EXPECT_FALSE(player->mnuOption_Scan);
    EXPECT_FALSE(player->blnPanelBusy);
}

TEST_F(PreviewPlayerTest, MarkerButtonsStepBySecondsOrThroughThePoints) {
    player->SetPlayMode(3);
    auto g = graph();
    g->setCurrentPosition(3);
    player->cmdMove2_Click(0);
    EXPECT_DOUBLE_EQ(g->currentPosition(), 0); // not -2
    player->cmdMove2_Click(1);
    EXPECT_DOUBLE_EQ(g->currentPosition(), 5);
    player->cmdMove2_Click(3);
    EXPECT_DOUBLE_EQ(g->currentPosition(), 10);
    player->cmdMove2_Click(2);
    EXPECT_DOUBLE_EQ(g->currentPosition(), 5);

    test::WriteFile(dir + QStringLiteral("/song.tim"), "\r\n100\r\n-170\r\n400\r\n-500");
    player->SetPlayMode(3);
    ASSERT_EQ(player->lngTimPoints, (QList<std::int32_t>{100, 135, 170, 400, 450, 500}));
    player->cmdMove2_Click(0);
    EXPECT_DOUBLE_EQ(g->currentPosition(), 100);
    player->SetPlayMode(3);
    g->setCurrentPosition(140);
    player->cmdMove2_Click(1);
    EXPECT_DOUBLE_EQ(g->currentPosition(), 170);
    player->cmdMove2_Click(1);
    EXPECT_DOUBLE_EQ(g->currentPosition(), 400);
    player->cmdMove2_Click(1);
    player->cmdMove2_Click(1);
    EXPECT_DOUBLE_EQ(g->currentPosition(), 500);
    player->cmdMove2_Click(1); // once round the list, back at the last point
    EXPECT_DOUBLE_EQ(g->currentPosition(), 500);
    EXPECT_FALSE(player->blnPanelBusy);
    // Buttons 2 and 3 always step by five seconds.
    player->cmdMove2_Click(2);
    EXPECT_DOUBLE_EQ(g->currentPosition(), 495);
    // Busy: nothing moves.
    player->blnPanelBusy = true;
    player->cmdMove2_Click(3);
    EXPECT_DOUBLE_EQ(g->currentPosition(), 495);
}

TEST_F(PreviewPlayerTest, ResetsOfBalanceAndSpeed) {
    player->cmdPlay2_Click();
    player->HScrBalance_Change(3000);
    player->HScrSpeed_Change(50);
    player->bpmTag = 120;
    EXPECT_EQ(player->bpmCaption(), QStringLiteral("60"));
    player->mnuBalans_Set_Click();
    player->mnuSpeed2_Set_Click();
    EXPECT_EQ(track->lngBalance, 0);
    EXPECT_EQ(graph()->balance(), 0);
    EXPECT_FLOAT_EQ(track->sngRate, 1.0f);
    EXPECT_DOUBLE_EQ(graph()->rate(), 1.0);
    EXPECT_EQ(player->bpmCaption(), QStringLiteral("120"));
}

} // namespace

namespace {

TEST_F(PreviewPlayerTest, DeviceChangeMovesTheTrackAndAPreviewInProgress) {
    media->devices = {QStringLiteral("Speakers")};
    Program().outputs.UseDefaultRenderer = false;
    // Without a preview only the track changes.
    player->cboDevice_Click(QStringLiteral("Speakers"));
    EXPECT_EQ(track->strDevice, QStringLiteral("Speakers"));
    EXPECT_TRUE(track->blnDeviceChanged);
    EXPECT_TRUE(track->blnZmodyfikowana);
    EXPECT_TRUE(media->built.isEmpty());

    host.device = QStringLiteral("null");
    player->SetPlayMode(3);
    clock->advance(12000);
    std::weak_ptr<FakePlaybackGraph> old = graph();
    host.device = QStringLiteral("Speakers");
    player->cboDevice_Click(QStringLiteral("Speakers"));
    EXPECT_TRUE(old.expired());
    ASSERT_TRUE(graph());
    EXPECT_EQ(graph()->device, QStringLiteral("Speakers"));
    EXPECT_EQ(graph()->state(), GraphState::Running);
    EXPECT_NEAR(graph()->currentPosition(), 12.0, 1e-9);
}

} // namespace
