// One real-time run on the silent "null" output: two one-second ranges of a
// generated file chained with an overlap, on GStreamer graphs and the
// system clock.
#include "core/app/MessageService.h"
#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjeMP3.h"
#include "core/editor/PlayRun.h"
#include "core/editor/TrackGraph.h"
#include "core/playback/PlayerView.h"
#include "core/playback/SequencePlayer.h"
#include "platform/media/Clock.h"
#include "platform/media/MediaPlatform.h"
#include "platform/media/PlaybackGraph.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/ChainPlayerState.h"
#include "support/ScriptedMessages.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

class TimingView : public PlayerView {
public:
    explicit TimingView(cPozycjeMP3& tracks) : m_tracks(tracks) {}
    void showLook(const cPozycjaMP3& t, PlayLook look) override {
        if (look != PlayLook::Playing)
            return;
        order << t.lngNrPozycji;
        startMs[t.lngNrPozycji] = clock.milliseconds();
        // Where the other tracks stand at this start.
        for (std::int32_t p = 1; p <= m_tracks.Count(); ++p) {
            auto other = m_tracks.Item(p);
            if (other.get() != &t && other->blnPlayed && other->MediaPosition)
                positionAtStart[t.lngNrPozycji] = other->MediaPosition->currentPosition();
        }
    }
    void setTimeText(std::int32_t, const QString&) override {}
    void setTimeVisible(std::int32_t, bool) override {}
    void setBusyPointer(bool) override {}
    void runChanged(bool running) override { runs << running; }
    void modesChanged() override {}
    void deleteTrack(std::int32_t) override {}

    SystemClock clock;
    QList<std::int32_t> order;
    QHash<std::int32_t, qint64> startMs;
    QHash<std::int32_t, double> positionAtStart;
    QList<bool> runs;

private:
    cPozycjeMP3& m_tracks;
};

std::shared_ptr<cPozycjaMP3> OneSecond(std::int32_t number, std::int32_t pred, float overtake) {
    auto t = std::make_shared<cPozycjaMP3>();
    t->lngNrPozycji = number;
    t->lngTrack = pred;
    t->strFileNameSource = test::MediaFile("play_cbr.mp3");
    t->strDevice = kNullOutputName;
    t->dblDuration = 2.0;
    t->lngPoczatek_S = 0;
    t->lngKoniec_S = 1;
    t->sngOvertake = overtake;
    return t;
}

class NullDeviceChain : public ::testing::Test {
protected:
    // Plays the chain from track 1 as the window does, for at most 10 s.
    void play() {
        RebuildAllSuccessors(tracks);
        SequencePlayer player(
            view.clock, [&] { return &tracks; }, run, view, [] { return 1; }, Program().settings,
            Program().outputs);
        player.cmdPlay_Click();
        QElapsedTimer waited;
        waited.start();
        while ((player.isRunning() || player.timerEnabled()) && waited.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        EXPECT_FALSE(player.isRunning()) << "the run did not end";
    }

    test::ChainPlayerState state; // first: the program state outlives the tracks
    test::ScriptedMessages* messages = state.messages;
    cPozycjeMP3 tracks;
    PlayRunState run;
    TimingView view{tracks};
};

TEST_F(NullDeviceChain, AnOverlapStartsTheSecondTrackOnTimeInRealTime) {
    tracks.Add(OneSecond(1, 0, 0));
    tracks.Add(OneSecond(2, 1, -0.3f));
    play();
    EXPECT_TRUE(messages->shown.isEmpty());
    ASSERT_EQ(view.order, (QList<std::int32_t>{1, 2}));
    // B starts 0.3 s before A's end, where A has played 0.7 s: in real time,
    // never sooner than 0.7 s after A's start. A busy machine (or a sanitizer
    // build) can hold A's first sound back by any amount, which delays B with
    // it, so the wall clock bounds only the early side; where A stands when B
    // starts is the exact measure of lateness.
    const qint64 apart = view.startMs[2] - view.startMs[1];
    EXPECT_GE(apart, 600);
    EXPECT_NEAR(view.positionAtStart[2], 0.7, 0.1);
    EXPECT_EQ(view.runs, (QList<bool>{true, false}));
    EXPECT_FALSE(tracks.Item(1)->MediaControl) << "released at the end of the run";
}

// Fault mended: a gap shorter than half a millisecond (a project may hold
// one), with no lead time set, gave the delay timer no interval at all, so
// it never ticked: the successor never started and the run never ended.
TEST_F(NullDeviceChain, AGapUnderHalfAMillisecondStillStartsTheSuccessor) {
    tracks.Add(OneSecond(1, 0, 0));
    tracks.Add(OneSecond(2, 1, 0.0004f));
    play();
    EXPECT_EQ(view.order, (QList<std::int32_t>{1, 2}));
    EXPECT_TRUE(messages->shown.isEmpty());
}

} // namespace
