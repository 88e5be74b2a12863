// Real graphs on the silent real-time output, measured through a tap on what
// reaches the sink rather than trusted by what the pipeline says.
#include "platform/media/GstMediaPlatform.h"
#include "platform/media/PlaybackGraph.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <gst/gst.h>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <gtest/gtest.h>

#include <cmath>
#include <mutex>

using namespace kelbrin;

namespace {

constexpr double kMp3Frame = 1152.0 / 44100.0;

class Tap {
public:
    void add(const AudioBlock& block) {
        std::lock_guard lock(m_mutex);
        m_blocks.append(block);
    }
    QList<AudioBlock> take() {
        std::lock_guard lock(m_mutex);
        return std::exchange(m_blocks, {});
    }
    void clear() { take(); }
    bool empty() {
        std::lock_guard lock(m_mutex);
        return m_blocks.isEmpty();
    }

private:
    std::mutex m_mutex;
    QList<AudioBlock> m_blocks;
};

double EndOf(const AudioBlock& b) {
    return b.position + double(b.samples.size()) / std::max(1, b.channels) / std::max(1, b.sampleRate);
}

// Largest absolute sample of one channel (-1: every channel).
double Peak(const QList<AudioBlock>& blocks, int channel = -1) {
    double peak = 0;
    for (const AudioBlock& b : blocks)
        for (int i = 0; i < b.samples.size(); ++i)
            if (channel < 0 || i % b.channels == channel)
                peak = std::max(peak, double(std::fabs(b.samples[i])));
    return peak;
}

bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents();
        QThread::msleep(5);
    }
    return true;
}

void Sleep(int ms) {
    WaitFor([] { return false; }, ms);
}

class GstPlayback : public ::testing::Test {
protected:
    void SetUp() override {
        media.tap = [this](const AudioBlock& b) { tap.add(b); };
    }
    std::shared_ptr<GstPlaybackGraph> graphOn(const QString& name, const QString& device = kNullOutputName) {
        QString why;
        auto graph = media.createGstGraph(test::MediaFile(name), device, &why);
        EXPECT_NE(graph, nullptr) << name.toStdString() << ": " << why.toStdString();
        return graph;
    }
    // Seeks a paused graph so the prerolled block shows the current settings.
    QList<AudioBlock> blocksAt(PlaybackGraph& graph, double position) {
        tap.clear();
        graph.setCurrentPosition(position);
        WaitFor([&] { return !tap.empty(); }, 10000); // a busy machine prerolls late
        WaitFor([&] { return false; }, 50);
        return tap.take();
    }

    GstMediaPlatform media;
    Tap tap;
};

TEST_F(GstPlayback, PlaysEachFormatToTheEndInRealTime) {
    for (const char* name : {"play_cbr.mp3", "play_vbr.mp3", "play.mp2", "play_tone.wav"}) {
        SCOPED_TRACE(name);
        tap.clear();
        auto graph = graphOn(name); // its first block reaches the tap while it prerolls
        ASSERT_NE(graph, nullptr);
        EXPECT_NEAR(graph->duration(), 2.0, 0.1);
        EXPECT_EQ(graph->stopTime(), graph->duration());
        EXPECT_EQ(graph->currentPosition(), 0.0);
        graph->run();
        EXPECT_EQ(graph->state(), GraphState::Running);
        // Timed from the first moved position, so that a busy machine's slow
        // start does not count against the pace.
        ASSERT_TRUE(WaitFor([&] { return graph->currentPosition() > 0.0; }, 3000));
        QElapsedTimer clock;
        clock.start();
        const double from = graph->currentPosition();
        Sleep(1000);
        EXPECT_NEAR(graph->currentPosition() - from, clock.elapsed() / 1000.0, 0.25)
            << "the position follows real time";
        ASSERT_TRUE(WaitFor([&] { return graph->currentPosition() == graph->stopTime(); }, 5000));
        const double seconds = clock.elapsed() / 1000.0;
        const double rest = graph->duration() - from;
        EXPECT_GT(seconds, rest - 0.2) << "played faster than real time";
        EXPECT_LT(seconds, rest + 1.0);
        EXPECT_EQ(graph->state(), GraphState::Running);
        const auto blocks = tap.take();
        ASSERT_FALSE(blocks.isEmpty());
        EXPECT_NEAR(blocks.first().position, 0.0, kMp3Frame);
        EXPECT_NEAR(EndOf(blocks.last()), graph->duration(), 2 * kMp3Frame) << "decoded to the end";
        EXPECT_NEAR(Peak(blocks), 0.5, 0.06) << "the tone arrives at its own level";
        EXPECT_FALSE(graph->failed());
    }
}

TEST_F(GstPlayback, SeeksWithinOneFrame) {
    for (const char* name : {"play_cbr.mp3", "play_vbr.mp3", "play_tone.wav"}) {
        SCOPED_TRACE(name);
        auto graph = graphOn(name);
        ASSERT_NE(graph, nullptr);
        const auto blocks = blocksAt(*graph, 1.25);
        EXPECT_NEAR(graph->currentPosition(), 1.25, kMp3Frame);
        ASSERT_FALSE(blocks.isEmpty());
        EXPECT_NEAR(blocks.first().position, 1.25, kMp3Frame);
        // And while running: from the new place on, at once.
        graph->run();
        Sleep(200);
        tap.clear();
        graph->setCurrentPosition(0.5);
        ASSERT_TRUE(WaitFor([&] { return !tap.take().isEmpty(); }, 10000));
        QElapsedTimer since;
        since.start();
        Sleep(100);
        const double now = graph->currentPosition();
        EXPECT_GE(now, 0.5 - kMp3Frame);
        EXPECT_LE(now, 0.5 + since.elapsed() / 1000.0 + 0.1);
    }
}

TEST_F(GstPlayback, StopsAtTheStopTimeAndThenReportsExactlyIt) {
    auto graph = graphOn("play_cbr.mp3");
    ASSERT_NE(graph, nullptr);
    graph->setCurrentPosition(0.5);
    graph->setStopTime(1.0);
    EXPECT_EQ(graph->stopTime(), 1.0);
    tap.clear();
    QElapsedTimer clock;
    clock.start();
    graph->run();
    ASSERT_TRUE(WaitFor([&] { return graph->currentPosition() == 1.0; }, 3000));
    EXPECT_GT(clock.elapsed(), 400) << "not faster than real time";
    auto blocks = tap.take();
    ASSERT_FALSE(blocks.isEmpty());
    EXPECT_NEAR(EndOf(blocks.last()), 1.0, kMp3Frame);
    Sleep(300);
    EXPECT_TRUE(tap.take().isEmpty()) << "nothing is played past the stop time";
    EXPECT_EQ(graph->currentPosition(), 1.0);
    EXPECT_EQ(graph->state(), GraphState::Running);

    // Still running: a new position plays on up to the stop time again.
    graph->setCurrentPosition(0.8);
    ASSERT_TRUE(WaitFor([&] { return graph->currentPosition() == 1.0; }, 2000));
    blocks = tap.take();
    ASSERT_FALSE(blocks.isEmpty());
    EXPECT_NEAR(blocks.first().position, 0.8, kMp3Frame);
}

TEST_F(GstPlayback, RateTwoPlaysATwoSecondRangeInAboutOneSecond) {
    auto graph = graphOn("play_tone.wav");
    ASSERT_NE(graph, nullptr);
    graph->setStopTime(2.0);
    graph->setRate(2.0);
    EXPECT_EQ(graph->rate(), 2.0);
    graph->run();
    // Timed from the first sound, so that a busy machine's slow start does
    // not count: once going, two seconds of the range take about one.
    ASSERT_TRUE(WaitFor([&] { return graph->currentPosition() > 0.1; }, 3000));
    QElapsedTimer clock;
    clock.start();
    const double from = graph->currentPosition();
    ASSERT_TRUE(WaitFor([&] { return graph->currentPosition() == 2.0; }, 4000));
    const double played = 2.0 - from;
    EXPECT_GT(clock.elapsed(), played / 2 * 1000 - 150) << "not faster than twice real time";
    EXPECT_LT(clock.elapsed(), played * 1000 - 100) << "about twice real time, not once";
}

TEST_F(GstPlayback, StopAndPauseKeepThePosition) {
    auto graph = graphOn("play_cbr.mp3");
    ASSERT_NE(graph, nullptr);
    graph->run();
    Sleep(400);
    graph->stop();
    EXPECT_EQ(graph->state(), GraphState::Stopped);
    const double held = graph->currentPosition();
    EXPECT_NEAR(held, 0.4, 0.15);
    Sleep(300);
    EXPECT_NEAR(graph->currentPosition(), held, 0.03);
    graph->run();
    Sleep(300);
    EXPECT_NEAR(graph->currentPosition(), held + 0.3, 0.15) << "runs on from where it stopped";
    graph->pause();
    EXPECT_EQ(graph->state(), GraphState::Paused);
    const double paused = graph->currentPosition();
    Sleep(200);
    EXPECT_NEAR(graph->currentPosition(), paused, 0.03);
}

TEST_F(GstPlayback, VolumeInHundredthsOfADecibel) {
    auto graph = graphOn("play_tone.wav");
    ASSERT_NE(graph, nullptr);
    const double full = Peak(blocksAt(*graph, 0.5));
    EXPECT_NEAR(full, 0.5, 0.03);
    graph->setVolume(-600);
    EXPECT_EQ(graph->volume(), -600);
    EXPECT_NEAR(Peak(blocksAt(*graph, 0.5)) / full, std::pow(10.0, -0.3), 0.02) << "-6 dB: about half";
    graph->setVolume(-10000);
    const auto silent = blocksAt(*graph, 0.5);
    ASSERT_FALSE(silent.isEmpty());
    EXPECT_EQ(Peak(silent), 0.0);
}

TEST_F(GstPlayback, BalanceSilencesOneSide) {
    auto graph = graphOn("play_tone.wav");
    ASSERT_NE(graph, nullptr);
    graph->setBalance(10000);
    auto blocks = blocksAt(*graph, 0.5);
    ASSERT_FALSE(blocks.isEmpty());
    ASSERT_EQ(blocks.first().channels, 2);
    EXPECT_LT(Peak(blocks, 0), 1e-6) << "left";
    EXPECT_NEAR(Peak(blocks, 1), 0.5, 0.03) << "right";
    graph->setBalance(-10000);
    blocks = blocksAt(*graph, 0.5);
    EXPECT_NEAR(Peak(blocks, 0), 0.5, 0.03);
    EXPECT_LT(Peak(blocks, 1), 1e-6);
    graph->setBalance(600);
    blocks = blocksAt(*graph, 0.5);
    EXPECT_NEAR(Peak(blocks, 0) / Peak(blocks, 1), std::pow(10.0, -0.3), 0.02);
}

TEST_F(GstPlayback, MpegAudioIsDecodedByThePinnedDecoderIntoTheChosenSink) {
    for (const char* name : {"play_cbr.mp3", "play_vbr.mp3", "play.mp2"}) {
        SCOPED_TRACE(name);
        auto graph = graphOn(name);
        ASSERT_NE(graph, nullptr);
        const QStringList parts = graph->elementFactories();
        EXPECT_TRUE(parts.contains("mpg123audiodec")) << parts.join(' ').toStdString();
        for (const char* needed : {"filesrc", "decodebin", "audioconvert", "audiopanorama", "volume",
                                   "audioresample", "fakesink"})
            EXPECT_TRUE(parts.contains(needed)) << needed;
        EXPECT_FALSE(parts.contains("autoaudiosink"));
    }
}

TEST_F(GstPlayback, WhatCannotPlayGivesNoGraph) {
    const QString text = test::WriteFile(test::MakeTempDir() + "/notes.mp3", QByteArray(20000, 'x'));
    QString why;
    EXPECT_EQ(media.createGstGraph(text, kNullOutputName, &why), nullptr);
    EXPECT_FALSE(why.isEmpty());
    EXPECT_EQ(media.createGraph(test::MakeTempDir() + "/missing.mp3", kNullOutputName), nullptr);
    EXPECT_EQ(media.createGraph(test::MediaFile("play_cbr.mp3"), "No Such Output Device"), nullptr);
}

TEST_F(GstPlayback, AGraphOfKnownLengthTakesItsSettingsBeforeItIsReady) {
    // Sources without a length header: the graph takes the length it is given
    // and applies what was set at once, as soon as it has prerolled.
    for (const char* name : {"play.mp2", "play_cbr.mp3"}) {
        SCOPED_TRACE(name);
        tap.clear();
        QString why;
        auto graph = media.createGstGraph(test::MediaFile(name), kNullOutputName, &why, 2.5);
        ASSERT_NE(graph, nullptr) << why.toStdString();
        EXPECT_EQ(graph->duration(), 2.5) << "the frame index's length, not the framework's";
        graph->setStopTime(1.0);
        graph->setCurrentPosition(0.5);
        graph->setVolume(-600);
        EXPECT_EQ(graph->currentPosition(), 0.5);
        QElapsedTimer clock;
        clock.start();
        graph->run();
        ASSERT_TRUE(WaitFor([&] { return graph->currentPosition() == 1.0; }, 3000));
        EXPECT_GT(clock.elapsed(), 400) << "half a second of real time";
        const auto blocks = tap.take();
        ASSERT_FALSE(blocks.isEmpty());
        EXPECT_NEAR(EndOf(blocks.last()), 1.0, kMp3Frame) << "nothing past the stop time";
        double first = 1e9;
        for (const AudioBlock& b : blocks)
            if (b.position > 0.25) // the block it prerolled on is from the file's start
                first = std::min(first, b.position);
        EXPECT_NEAR(first, 0.5, kMp3Frame) << "played from the position set before it was ready";
        EXPECT_NEAR(Peak(blocks.mid(blocks.size() / 2)), 0.5 * std::pow(10.0, -0.3), 0.03);
    }
    // A file that does not play ends at once instead of hanging its player.
    const QString text = test::WriteFile(test::MakeTempDir() + "/notes.mp2", QByteArray(20000, 'x'));
    auto broken = media.createGstGraph(text, kNullOutputName, nullptr, 3.0);
    ASSERT_NE(broken, nullptr);
    broken->setCurrentPosition(1.0);
    broken->run();
    EXPECT_TRUE(WaitFor([&] { return broken->currentPosition() == broken->stopTime(); }, 3000));
    EXPECT_TRUE(broken->failed());
}

TEST_F(GstPlayback, TheNullOutputAlwaysExistsAndTheDeviceListNeverFails) {
    const QStringList names = media.outputDeviceNames(); // may be empty on a machine without sound
    EXPECT_FALSE(names.contains(kNullOutputName));
    GstElement* sink = GstMediaPlatform::CreateSink(kNullOutputName);
    ASSERT_NE(sink, nullptr);
    gst_object_unref(gst_object_ref_sink(sink));
}

} // namespace
