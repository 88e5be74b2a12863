// The fake graph is what the player tests stand on, so it must keep the
// rules of PlaybackGraph.h exactly as the real graph does.
#include "platform/media/FakeMediaPlatform.h"
#include "platform/media/VirtualClock.h"

#include <gtest/gtest.h>

using namespace kelbrin;
using Op = FakePlaybackGraph::Op;

namespace {

class FakeGraph : public ::testing::Test {
protected:
    VirtualClock clock{5000};
    FakePlaybackGraph graph{clock, "/music/a.mp3", "null", 10.0};
};

TEST_F(FakeGraph, StartsStoppedAtZeroWithTheStopTimeAtTheEnd) {
    EXPECT_EQ(graph.state(), GraphState::Stopped);
    EXPECT_EQ(graph.currentPosition(), 0.0);
    EXPECT_EQ(graph.stopTime(), 10.0);
    EXPECT_EQ(graph.duration(), 10.0);
    EXPECT_EQ(graph.rate(), 1.0);
    EXPECT_EQ(graph.volume(), 0);
    EXPECT_EQ(graph.balance(), 0);
    clock.advance(2000);
    EXPECT_EQ(graph.currentPosition(), 0.0) << "a stopped graph does not move";
}

TEST_F(FakeGraph, RunsWithTheClockAndEndsExactlyAtTheStopTime) {
    graph.setCurrentPosition(2.0);
    graph.setStopTime(3.5);
    graph.run();
    clock.advance(1000);
    EXPECT_DOUBLE_EQ(graph.currentPosition(), 3.0);
    EXPECT_TRUE(graph.isSounding());
    clock.advance(1700);
    EXPECT_EQ(graph.currentPosition(), graph.stopTime());
    EXPECT_EQ(graph.currentPosition(), 3.5);
    EXPECT_EQ(graph.state(), GraphState::Running);
    EXPECT_FALSE(graph.isSounding());
}

TEST_F(FakeGraph, PauseHoldsStopKeepsThePositionAndRunGoesOn) {
    graph.run();
    clock.advance(1500);
    graph.pause();
    clock.advance(4000);
    EXPECT_DOUBLE_EQ(graph.currentPosition(), 1.5);
    graph.run();
    clock.advance(500);
    graph.stop();
    clock.advance(4000);
    EXPECT_EQ(graph.state(), GraphState::Stopped);
    EXPECT_DOUBLE_EQ(graph.currentPosition(), 2.0);
    graph.run();
    clock.advance(250);
    EXPECT_DOUBLE_EQ(graph.currentPosition(), 2.25);
}

TEST_F(FakeGraph, RateScalesTheMovementFromTheMomentItIsSet) {
    graph.run();
    clock.advance(1000);
    graph.setRate(2.0);
    clock.advance(1000);
    EXPECT_DOUBLE_EQ(graph.currentPosition(), 3.0);
    graph.setRate(0);
    graph.setRate(-1);
    EXPECT_EQ(graph.rate(), 2.0) << "a rate of 0 or less is ignored";
}

TEST_F(FakeGraph, ASeekWhileRunningPlaysOnAlsoAfterTheEnd) {
    graph.setStopTime(1.0);
    graph.run();
    clock.advance(3000);
    EXPECT_EQ(graph.currentPosition(), 1.0);
    graph.setCurrentPosition(0.25);
    clock.advance(500);
    EXPECT_DOUBLE_EQ(graph.currentPosition(), 0.75);
}

TEST_F(FakeGraph, ClampsValuesAndLogsEveryCallWithItsTime) {
    graph.setCurrentPosition(-4);
    EXPECT_EQ(graph.currentPosition(), 0.0);
    graph.setStopTime(99);
    EXPECT_EQ(graph.stopTime(), 10.0);
    graph.setVolume(-20000);
    EXPECT_EQ(graph.volume(), -10000);
    graph.setVolume(300);
    EXPECT_EQ(graph.volume(), 0);
    graph.setBalance(12000);
    EXPECT_EQ(graph.balance(), 10000);
    graph.setCurrentPosition(12);
    EXPECT_EQ(graph.currentPosition(), 10.0);
    clock.advance(40);
    graph.setVolume(-600);
    const auto volumes = graph.eventsOf(Op::Volume);
    ASSERT_EQ(volumes.size(), 3);
    EXPECT_EQ(volumes.last().ms, 5040);
    EXPECT_EQ(volumes.last().value, -600);
    EXPECT_EQ(graph.events.first().op, Op::Position);
}

TEST(FakeMediaPlatformTest, BuildsOnKnownOutputsOnlyAndSeesReleases) {
    VirtualClock clock;
    FakeMediaPlatform media(clock);
    media.devices = {"USB Speakers"};
    media.durations.insert("/m/short.mp3", 4.5);
    media.unplayable = {"/m/broken.mp3"};
    EXPECT_EQ(media.outputDeviceNames(), QStringList{"USB Speakers"});

    auto graph = media.createGraph("/m/short.mp3", "USB Speakers");
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(graph->duration(), 4.5);
    EXPECT_EQ(media.graphFor("/m/short.mp3"), graph);
    EXPECT_NE(media.createGraph("/m/other.mp3", kNullOutputName), nullptr);
    EXPECT_NE(media.createGraph("/m/other.mp3", kDefaultOutputName), nullptr);
    EXPECT_EQ(media.createGraph("/m/other.mp3", "Gone Card"), nullptr);
    EXPECT_EQ(media.createGraph("/m/broken.mp3", kNullOutputName), nullptr);
    EXPECT_EQ(media.failed.size(), 2);

    graph.reset();
    EXPECT_TRUE(media.built.first().graph.expired());
    EXPECT_EQ(media.graphFor("/m/short.mp3"), nullptr);
}

} // namespace
