// The sequence player on virtual time with fake graphs.
#include "PlayerTestSupport.h"
#include "support/ProgramState.h"

#include <QFile>

using namespace kelbrin;
using namespace kelbrin::test;
using Op = FakePlaybackGraph::Op;

namespace {

// The position a running graph had at clock time `ms`: from its last run
// before then, at rate 1.
double PositionAt(const FakePlaybackGraph& g, qint64 ms) {
    double pos = 0;
    for (const auto& e : g.events)
        if (e.op == Op::Run && e.ms <= ms)
            pos = e.value + (ms - e.ms) / 1000.0;
    return std::min(g.stopTime(), pos);
}

TEST_F(PlayerTest, AnOverlapStartsTheSuccessorThatMuchBeforeThePredecessorEnds) {
    auto a = add(1, 0, 2.0);
    auto b = add(2, 1, 2.0, -0.5f);
    auto c = add(3, 2, 2.0, -0.5f);
    link();
    playToTheEnd();
    ASSERT_EQ(runTimes(a).size(), 1);
    ASSERT_EQ(runTimes(b).size(), 1);
    ASSERT_EQ(runTimes(c).size(), 1);
    auto ga = kept[0];
    for (const auto& g : kept)
        if (g->file == a->strFileNameSource)
            ga = g;
    const qint64 bStart = runTimes(b)[0];
    // B starts at the first pass where A has 0.5 s or less to go.
    const double left = ga->stopTime() - PositionAt(*ga, bStart);
    EXPECT_LE(left, 0.5 + 1e-9);
    EXPECT_GT(left, 0.5 - SequencePlayer::kPassMs / 1000.0);
    EXPECT_NEAR(runTimes(c)[0] - bStart, 1500, SequencePlayer::kPassMs);
    EXPECT_EQ(view.runs, (QList<bool>{true, false}));
    EXPECT_TRUE(run.colPlayRun == std::nullopt);
    EXPECT_EQ(run.lngPlayRunMark, -1);
}

// Between the moments of its tracks the player waits instead of looking a
// hundred times a second, and still meets every moment as closely as a pass:
// the label's seconds, the overlap, and a Next given during a wait.
TEST_F(PlayerTest, BetweenItsMomentsThePlayerWaitsAndStillMeetsEveryMoment) {
    auto a = add(1, 0, 10.0);
    auto b = add(2, 1, 4.0, -0.5f);
    auto c = add(3, 2, 2.0);
    link();
    player->cmdPlay_Click();
    const auto graphOfPlaying = [&](const std::shared_ptr<cPozycjaMP3>& t) {
        recordStarts();
        for (const auto& g : kept)
            if (g->file == t->strFileNameSource)
                return g;
        return std::shared_ptr<FakePlaybackGraph>();
    };
    QString label;
    int writesFrom2s = -1, writesTo8s = -1;
    std::shared_ptr<FakePlaybackGraph> ga;
    while (!b->blnPlayed && clock.milliseconds() < 20000) {
        clock.advance(1);
        if (!ga)
            ga = a->blnPlayed ? graphOfPlaying(a) : nullptr;
        if (!ga)
            continue;
        const double at = PositionAt(*ga, clock.milliseconds());
        if (view.times.value(1) != label) {
            label = view.times.value(1);
            const int second = label.section(':', 1).trimmed().toInt();
            if (second > 0) {
                // The label turns once the hundredths shown round up to it
                // (a half to the even second).
                EXPECT_GE(at, second - 0.505) << label.toStdString();
                EXPECT_LE(at, second - 0.5 + 0.01 + SequencePlayer::kPassMs / 1000.0) << label.toStdString();
            }
        }
        if (writesFrom2s < 0 && at >= 2.0)
            writesFrom2s = view.timeWrites;
        if (writesTo8s < 0 && at >= 8.0)
            writesTo8s = view.timeWrites;
    }
    ASSERT_TRUE(b->blnPlayed);
    EXPECT_EQ(label, "0 : 10");
    EXPECT_LE(writesTo8s - writesFrom2s, 6 * 25) << "six quiet seconds, looked at every 10 ms";
    const double left = ga->stopTime() - PositionAt(*ga, clock.milliseconds());
    EXPECT_LE(left, 0.5 + 1e-9);
    EXPECT_GT(left, 0.5 - SequencePlayer::kPassMs / 1000.0);

    // B alone, halfway through a wait: Next ends it, and C follows at once.
    clock.advance(1500);
    clock.advance(SequencePlayer::kQuietMaxMs / 2);
    ASSERT_TRUE(b->blnPlayed && !c->blnPlayed);
    player->cmdNext_Click();
    const qint64 next = clock.milliseconds();
    while (!c->blnPlayed && clock.milliseconds() - next < 1000)
        clock.advance(1);
    EXPECT_LE(clock.milliseconds() - next, SequencePlayer::kPassMs);
}

TEST_F(PlayerTest, TheLeadTimeMovesEveryStartEarlier) {
    Program().settings.OverTakeSeconds = 0.15f;
    auto a = add(1, 0, 2.0);
    auto b = add(2, 1, 2.0, 0.0f);
    link();
    playToTheEnd();
    ASSERT_EQ(runTimes(b).size(), 1);
    EXPECT_NEAR(runTimes(b)[0] - runTimes(a)[0], 1850, SequencePlayer::kPassMs);
}

// Tracks 1 and 2 of a second each, 2 looping back to 1 twice.
class LoopTest : public PlayerTest {
protected:
    void SetUp() override {
        PlayerTest::SetUp();
        a = add(1, 0, 1.0);
        b = add(2, 1, 1.0);
        b->lngLoopTrack = 1;
        b->lngLoopCount = b->lngLoopCountBackup = 2;
        link();
    }
    std::shared_ptr<cPozycjaMP3> a, b;
};

TEST_F(LoopTest, ALoopOfCountTwoPlaysItsBodyThreeTimesAndKeepsItsCount) {
    QStringList labels;
    player->cmdPlay_Click();
    for (int i = 0; i < 1000 && (player->isRunning() || player->timerEnabled()); ++i) {
        clock.advance(10);
        recordStarts();
        if (b->blnPlayed && !labels.contains(view.times.value(2)))
            labels << view.times.value(2);
    }
    EXPECT_EQ(runTimes(a).size(), 3);
    EXPECT_EQ(runTimes(b).size(), 3);
    EXPECT_EQ(b->lngLoopCount, 2) << "restored after the run";
    EXPECT_TRUE(labels.join('|').contains(GetText(3100) + " 0 / 2"));
    EXPECT_TRUE(labels.join('|').contains(GetText(3100) + " 2 / 2"));
}

TEST_F(PlayerTest, AGapIsMeasuredByTheDelayTimerAndTheSuccessorStartsAtItsBegin) {
    auto a = add(1, 0, 1.0);
    auto b = add(2, 1, 3.0, 2.0f);
    link();
    playToTheEnd();
    ASSERT_EQ(runTimes(b).size(), 1);
    // A ends about 1 s after its start; B waits the 2 s gap.
    EXPECT_NEAR(runTimes(b)[0] - runTimes(a)[0], 3000, 2 * SequencePlayer::kPassMs);
    for (const auto& g : kept)
        if (g->file == b->strFileNameSource) {
            ASSERT_FALSE(g->eventsOf(Op::Run).isEmpty());
            EXPECT_NEAR(g->eventsOf(Op::Run)[0].value, 0.0, 0.002) << "the gap already waited is not skipped";
        }
    EXPECT_EQ(view.looks.value(1), PlayLook::Idle);
}

TEST_F(PlayerTest, SuccessorsWithEqualOvertakeStartTogetherOthersAtTheirOwnMoment) {
    auto a = add(1, 0, 2.0);
    auto b = add(2, 1, 1.0, -0.5f);
    auto c = add(3, 1, 1.0, -0.5f);
    auto d = add(4, 1, 1.0, 0.0f);
    link();
    playToTheEnd();
    ASSERT_EQ(runTimes(b).size(), 1);
    ASSERT_EQ(runTimes(c).size(), 1);
    ASSERT_EQ(runTimes(d).size(), 1);
    EXPECT_EQ(runTimes(b)[0], runTimes(c)[0]);
    EXPECT_NEAR(runTimes(d)[0] - runTimes(b)[0], 500, SequencePlayer::kPassMs);
}

TEST_F(PlayerTest, PlayStartsFromTheSelectedTrackOrEveryHeadTrack) {
    auto a = add(1, 0, 1.0);
    auto b = add(2, 1, 1.0);
    auto h = add(3, 0, 1.0);
    link();
    selected = 2;
    playToTheEnd();
    EXPECT_EQ(runTimes(a).size(), 0);
    EXPECT_EQ(runTimes(b).size(), 1);
    EXPECT_EQ(runTimes(h).size(), 0);

    kept.clear();
    player->mnuPlay_All_Click();
    EXPECT_FALSE(player->mnuPlay_MarkerEnabled);
    playToTheEnd();
    ASSERT_EQ(runTimes(a).size(), 1);
    ASSERT_EQ(runTimes(h).size(), 1);
    EXPECT_EQ(runTimes(a)[0], runTimes(h)[0]);
    EXPECT_EQ(runTimes(b).size(), 1);
}

TEST_F(PlayerTest, ATrackEndsWhenItsPositionPassesItsStopTime) {
    auto a = add(1, 0, 10.0);
    auto b = add(2, 1, 1.0);
    link();
    Program().settings.MoveStep = 20;
    player->cmdPlay_Click();
    clock.advance(500);
    ASSERT_TRUE(a->blnPlayed);
    a->MediaPosition->setStopTime(3.0);
    a->MediaPosition->setCurrentPosition(2.0);
    player->cmdMove_Click(1); // far past the stop time
    clock.advance(1000);
    recordStarts();
    EXPECT_FALSE(a->blnPlayed);
    EXPECT_TRUE(b->blnPlayed);
    EXPECT_EQ(view.looks.value(1), PlayLook::Idle);
    EXPECT_FALSE(view.timeShown.value(1));
}

TEST_F(PlayerTest, MoveBackStopsAtZeroAndNextEndsTheTrackNow) {
    auto a = add(1, 0, 10.0);
    auto b = add(2, 1, 5.0);
    link();
    player->cmdPlay_Click();
    clock.advance(3100);
    ASSERT_TRUE(a->blnPlayed);
    player->cmdMove_Click(0);
    EXPECT_DOUBLE_EQ(a->MediaPosition->currentPosition(), 0.0);
    player->cmdNext_Click();
    clock.advance(20);
    EXPECT_FALSE(a->blnPlayed);
    EXPECT_TRUE(b->blnPlayed);
    player->cmdStop_Click();
    clock.advance(50);
    EXPECT_FALSE(player->isRunning());
}

TEST_F(PlayerTest, PausedTracksStandStillAndAGapDelayStartsAgainOnResume) {
    auto a = add(1, 0, 1.0);
    auto b = add(2, 1, 1.0, 2.0f);
    link();
    player->cmdPlay_Click();
    clock.advance(1200); // A has ended: the 2 s gap runs
    ASSERT_TRUE(player->Timer.Enabled(1));
    clock.advance(1000);
    player->cmdPause_Click();
    EXPECT_TRUE(player->blnPause);
    EXPECT_FALSE(player->Timer.Enabled(1));
    EXPECT_EQ(view.looks.value(1), PlayLook::Paused);
    clock.advance(10000);
    EXPECT_FALSE(b->blnPlayed);
    EXPECT_TRUE(player->isRunning());
    player->cmdPause_Click();
    EXPECT_EQ(view.looks.value(1), PlayLook::Playing);
    clock.advance(1990);
    EXPECT_FALSE(b->blnPlayed) << "the full interval again";
    clock.advance(30);
    EXPECT_TRUE(b->blnPlayed);
}

TEST_F(PlayerTest, PlayDuringARunEndsItAndStartsAnewRepeatRestartsInPlace) {
    auto a = add(1, 0, 5.0);
    link();
    player->cmdPlay_Click();
    clock.advance(1000);
    player->cmdPlay_Click();
    clock.advance(20);
    EXPECT_FALSE(player->isRunning()) << "the run stopped at the end of its pass";
    EXPECT_FALSE(a->blnPlayed);
    clock.advance(100);
    EXPECT_TRUE(player->isRunning());
    EXPECT_TRUE(a->blnPlayed);
    player->cmdStop_Click();
    clock.advance(20);
    EXPECT_FALSE(player->isRunning());

    kept.clear();
    player->mnuPlay_Repeat_Click();
    player->cmdPlay_Click();
    for (int i = 0; i < 1600; ++i) {
        clock.advance(10);
        recordStarts();
    }
    EXPECT_GE(runTimes(a).size(), 3);
    EXPECT_TRUE(player->isRunning());
    EXPECT_TRUE(player->mnuPlay_Repeat);
    player->cmdStop_Click();
    EXPECT_FALSE(player->mnuPlay_Repeat) << "stop unchecks repeat";
    clock.advance(20);
    EXPECT_FALSE(player->isRunning());
}

TEST_F(PlayerTest, MarkerModeLeavesTheMarkerAloneAndPlaysOnlyTheLastPart) {
    auto a = add(1, 0, 10.0);
    auto b = add(2, 1, 4.0);
    link();
    a->lngMarkerFrom = 1000; // a lead-in of 31.767 s, longer than the track
    b->lngMarkerFrom = 30767;
    player->mnuPlay_Marker_Click();
    player->cmdPlay_Click();
    clock.advance(150);
    recordStarts();
    ASSERT_TRUE(a->blnPlayed);
    EXPECT_NEAR(a->MediaPosition->currentPosition(), 0.05, 0.02) << "from its begin, not from its end";
    EXPECT_EQ(a->lngMarkerFrom, 1000);
    clock.advance(11000);
    recordStarts();
    EXPECT_EQ(runTimes(b).size(), 1);
    EXPECT_EQ(b->lngMarkerFrom, 30767);
    player->cmdStop_Click();
    clock.advance(20);
}

TEST_F(PlayerTest, EveryEndOfARunStopsAndReleasesItsGraphs) {
    keepGraphs = false;
    auto a = add(1, 0, 1.0);
    auto b = add(2, 1, 1.0);
    link();
    playToTheEnd();
    EXPECT_GE(media->built.size(), 2);
    EXPECT_TRUE(allGraphsReleased());
    EXPECT_FALSE(a->MediaControl);

    // A graph that cannot be built in the middle of a run ends it; what
    // already plays stops with it instead of playing on.
    media->built.clear();
    auto c = add(3, 2, 1.0, -0.5f);
    link();
    player->cmdPlay_Click();
    clock.advance(150);
    ASSERT_TRUE(a->blnPlayed);
    // C's output changes under the run; its new graph cannot be built.
    media->unplayable << c->strFileNameSource;
    c->blnDeviceChanged = true;
    clock.advance(1000);
    auto heldB = b->MediaControl;
    for (int i = 0; i < 200 && player->isRunning(); ++i)
        clock.advance(10);
    EXPECT_FALSE(player->isRunning());
    ASSERT_FALSE(messages->shown.isEmpty());
    EXPECT_EQ(messages->shown.last().textNumber, 3162);
    EXPECT_FALSE(b->MediaControl);
    ASSERT_TRUE(heldB);
    EXPECT_EQ(heldB->state(), GraphState::Stopped) << "the error exit stops what it started";
    heldB.reset();
    EXPECT_TRUE(allGraphsReleased());
    EXPECT_FALSE(b->blnPlayed);
}

TEST_F(PlayerTest, AMissingSourceEndsTheRunWithItsMessage) {
    keepGraphs = false;
    auto a = add(1, 0, 1.0);
    auto b = add(2, 0, 1.0);
    QFile::remove(b->strFileNameSource);
    playToTheEnd();
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].textNumber, 3025);
    EXPECT_TRUE(messages->shown[0].text.contains(b->strFileNameSource));
    EXPECT_FALSE(a->blnPlayed);
    EXPECT_TRUE(allGraphsReleased());
    EXPECT_EQ(view.runs, (QList<bool>{true, false}));
}

TEST_F(PlayerTest, NoTrackNoRun) {
    player->cmdPlay_Click();
    clock.advance(500);
    EXPECT_FALSE(player->isRunning());
    EXPECT_FALSE(player->timerEnabled());
    EXPECT_TRUE(view.runs.isEmpty());
}

TEST_F(PlayerTest, APlayingTrackIsDeletedOnlyWhenThePlayerLetsGoOfIt) {
    keepGraphs = false;
    auto a = add(1, 0, 2.0);
    auto b = add(2, 1, 1.0);
    link();
    player->cmdPlay_Click();
    clock.advance(500);
    ASSERT_TRUE(a->blnPlayed);
    EXPECT_EQ(DeleteTrack(tracks, 1, &run), DeletionResult::Deferred);
    EXPECT_EQ(tracks.Count(), 2) << "still there while it plays";
    std::weak_ptr<PlaybackGraph> graph = a->MediaControl;
    a.reset();
    clock.advance(20);
    EXPECT_EQ(view.deleted, (QList<std::int32_t>{1}));
    ASSERT_EQ(tracks.Count(), 1);
    EXPECT_EQ(tracks.Item(1)->lngNrPozycji, 2);
    EXPECT_TRUE(graph.expired()) << "released with the track";
    clock.advance(100);
    EXPECT_FALSE(player->isRunning());
}

TEST_F(PlayerTest, ADeletionWaitingForATrackThatEndsFirstStillStrikesThatTrack) {
    auto x = add(1, 0, 0.5);
    auto y = add(2, 0, 3.0);
    link();
    player->mnuPlay_All_Click();
    player->cmdPlay_Click();
    clock.advance(595); // X ends at the next pass, before it reaches Y's entry
    ASSERT_TRUE(x->blnPlayed && y->blnPlayed);
    EXPECT_EQ(DeleteTrack(tracks, 2, &run), DeletionResult::Deferred);
    EXPECT_EQ(run.lngPlayRunMark, 2);
    clock.advance(1000);
    EXPECT_EQ(view.deleted, (QList<std::int32_t>{2}));
    ASSERT_EQ(tracks.Count(), 1);
    EXPECT_EQ(tracks.Item(1)->lngNrPozycji, 1);
}

TEST_F(PlayerTest, PositionsThatShiftUnderARunAreFollowed) {
    auto other = add(5, 5, 1.0); // detached, before the chain
    auto a = add(1, 0, 1.0);
    auto b = add(2, 1, 1.0);
    link();
    player->cmdPlay_Click();
    clock.advance(300);
    ASSERT_TRUE(a->blnPlayed);
    EXPECT_EQ(DeleteTrack(tracks, 5, &run), DeletionResult::Deleted);
    EXPECT_EQ(*run.colPlayRun, (QList<std::int32_t>{1}));
    for (int i = 0; i < 300 && player->isRunning(); ++i) {
        clock.advance(10);
        recordStarts();
    }
    EXPECT_EQ(runTimes(b).size(), 1);
    EXPECT_EQ(runTimes(other).size(), 0);
}

TEST_F(PlayerTest, ALoopIntoADeletedTrackOrAMissingSuccessorEndsThatBranch) {
    auto a = add(1, 0, 1.0);
    auto b = add(2, 1, 1.0);
    auto c = add(3, 0, 1.0); // another head; never started from A's run
    link();
    b->lngLoopTrack = 9; // no such track
    b->lngLoopCount = b->lngLoopCountBackup = 2;
    a->colNastepnik = {2, 7}; // position 7 does not exist
    selected = 1;
    playToTheEnd();
    EXPECT_EQ(runTimes(a).size(), 1);
    EXPECT_EQ(runTimes(b).size(), 1);
    EXPECT_EQ(runTimes(c).size(), 0);
}

TEST_F(PlayerTest, PreviousPlaysThePredecessorAgain) {
    auto a = add(1, 0, 2.0);
    auto b = add(2, 1, 2.0);
    link();
    player->cmdPlay_Click();
    clock.advance(2300);
    recordStarts();
    ASSERT_TRUE(b->blnPlayed);
    player->cmdPrev_Click();
    clock.advance(30);
    recordStarts();
    EXPECT_TRUE(a->blnPlayed);
    EXPECT_EQ(runTimes(a).size(), 2);
    player->cmdStop_Click();
    clock.advance(30);
    EXPECT_FALSE(player->isRunning());
}

TEST_F(PlayerTest, ColoursAndTimeLabelsFollowTheRun) {
    auto a = add(1, 0, 80.0);
    auto blocked = add(2, 0, 1.0);
    blocked->blnZablokowany = true;
    link();
    player->mnuPlay_All_Click();
    player->cmdPlay_Click();
    clock.advance(100 + 75400);
    EXPECT_EQ(view.looks.value(1), PlayLook::Playing);
    EXPECT_FALSE(view.looks.contains(2)) << "a blocked track never plays";
    EXPECT_FALSE(blocked->blnPlayed);
    EXPECT_TRUE(view.timeShown.value(1));
    EXPECT_EQ(view.times.value(1), "1 : 15");
    player->cmdStop_Click();
    EXPECT_EQ(view.looks.value(1), PlayLook::Idle);
    EXPECT_FALSE(view.timeShown.value(1));
    clock.advance(20);
}

} // namespace

namespace {

TEST_F(PlayerTest, ATagWriteReleasesEveryUnlockedGraphAndTheRunFindsItsTracksDone) {
    auto a = add(1, 0, 5.0);
    auto locked = add(2, 0, 5.0);
    locked->blnZablokowany = true;
    player->mnuPlay_Repeat_Click();
    player->cmdPlay_Click();
    clock.advance(300);
    ASSERT_TRUE(a->blnPlayed);
    player->cmdPause_Click();
    player->ReleaseGraphsBeforeTagWrite();
    EXPECT_FALSE(a->MediaControl);
    EXPECT_TRUE(locked->MediaControl) << "a locked track keeps its graph";
    EXPECT_FALSE(player->blnPause);
    EXPECT_FALSE(player->mnuPlay_Repeat);
    clock.advance(50);
    EXPECT_FALSE(player->isRunning());
    EXPECT_FALSE(a->blnPlayed);
}

// Fault mended: a tag write inside a loop ended the run with the loop's count
// spent, so the next run played the loop short. The write itself leaves the
// counts alone.
TEST_F(LoopTest, ATagWriteInsideALoopLeavesItsCountAndTheNextRunPlaysTheWholeLoop) {
    selected = 1;
    player->cmdPlay_Click();
    for (int i = 0; i < 1000 && b->lngLoopCount == 2; ++i)
        clock.advance(10);
    clock.advance(500); // the loop's second pass
    ASSERT_TRUE(a->blnPlayed);
    ASSERT_EQ(b->lngLoopCount, 1);
    player->ReleaseGraphsBeforeTagWrite();
    EXPECT_EQ(b->lngLoopCount, 1);
    clock.advance(100);
    ASSERT_FALSE(player->isRunning());
    kept.clear();
    playToTheEnd();
    EXPECT_EQ(runTimes(a).size(), 3);
    EXPECT_EQ(runTimes(b).size(), 3);
    EXPECT_EQ(b->lngLoopCount, 2);
}

} // namespace
