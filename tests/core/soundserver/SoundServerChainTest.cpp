// Chains of tone tracks played through a real sound server (a PulseAudio of
// the test's own with a null sink), on GStreamer graphs and the system clock.
// What the sink's monitor records is what a desktop hears: each track's
// first sound must follow the moment the player starts it by the same
// latency, however long the run has lasted.
#include "core/app/MessageService.h"
#include "core/app/ProgramObjects.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjeMP3.h"
#include "core/editor/PlayRun.h"
#include "core/editor/TrackGraph.h"
#include "core/playback/PlayerView.h"
#include "core/playback/SequencePlayer.h"
#include "platform/media/Clock.h"
#include "platform/media/MediaPlatform.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/ChainPlayerState.h"
#include "support/PrivateSoundServer.h"
#include "support/ProgramState.h"
#include "support/ScriptedMessages.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <gst/gst.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <mutex>
#include <vector>

using namespace kelbrin;

namespace {

constexpr int kRate = 44100;
// One source of five three-second tones; track i plays tone i from 0.5 s
// into its stretch for two seconds, so every track is told apart by ear.
constexpr double kTones[] = {400, 600, 900, 1300, 1900};
constexpr double kSegment = 3.0;
constexpr double kTrackLength = 2.0;
// Same latency for every start within this; the heard length within this.
constexpr double kLatencySpread = 0.05;
constexpr double kLengthSlack = 0.08;
// Play to the first sound of a run.
constexpr double kFirstSoundLimit = 0.3;
// A successor's sound after its predecessor's, against the chain's plan.
constexpr double kStepSlack = 0.1;

double SteadySeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// Records the null sink's monitor, mono, on the steady clock: every block is
// placed at the moment its timestamp gives, so a block the server drops
// leaves a silence instead of moving what follows.
class MonitorRecording {
public:
    bool start(const QString& monitor) {
        GError* error = nullptr;
        if (!gst_init_check(nullptr, nullptr, &error)) {
            m_why = QString::fromUtf8(error->message);
            g_error_free(error);
            return false;
        }
        const QByteArray description =
            "pulsesrc device=" + monitor.toUtf8() +
            " buffer-time=200000 latency-time=10000 ! audioconvert ! audioresample ! "
            "audio/x-raw,format=S16LE,channels=1,rate=44100 ! fakesink name=out sync=false";
        m_pipeline = gst_parse_launch(description.constData(), &error);
        if (error) {
            m_why = QString::fromUtf8(error->message);
            g_error_free(error);
            return false;
        }
        // The system clock is CLOCK_MONOTONIC, as std::chrono::steady_clock.
        GstClock* system = gst_system_clock_obtain();
        gst_pipeline_use_clock(GST_PIPELINE(m_pipeline), system);
        gst_object_unref(system);
        GstElement* out = gst_bin_get_by_name(GST_BIN(m_pipeline), "out");
        GstPad* pad = gst_element_get_static_pad(out, "sink");
        gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_BUFFER, &MonitorRecording::onBuffer, this, nullptr);
        gst_object_unref(pad);
        gst_object_unref(out);
        gst_element_set_state(m_pipeline, GST_STATE_PLAYING);
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 5000) {
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                if (m_heard > kRate / 10)
                    return true;
            }
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        m_why = QStringLiteral("the monitor gave no sound");
        return false;
    }
    ~MonitorRecording() {
        if (m_pipeline) {
            gst_element_set_state(m_pipeline, GST_STATE_NULL);
            gst_object_unref(m_pipeline);
        }
    }
    QString whyNot() const { return m_why; }

    // The stretches (steady seconds) where the tone `hz` sounds.
    std::vector<std::pair<double, double>> stretchesOf(double hz) {
        const std::vector<float> line = timeLine();
        const int window = kRate / 25, hop = kRate / 200;
        std::vector<std::pair<double, double>> found;
        bool on = false;
        double from = 0;
        const double k = 2 * std::cos(2 * M_PI * hz / kRate);
        for (size_t i = 0; i + window < line.size(); i += hop) {
            double s1 = 0, s2 = 0;
            for (int j = 0; j < window; ++j) {
                const double hann = 0.5 - 0.5 * std::cos(2 * M_PI * j / (window - 1));
                const double s0 = line[i + j] * hann + k * s1 - s2;
                s2 = s1;
                s1 = s0;
            }
            const double amplitude = std::sqrt(std::max(0.0, s1 * s1 + s2 * s2 - k * s1 * s2)) * 4 / window;
            const bool loud = amplitude > 0.05;
            const double at = m_lineStart + (i + window / 2.0) / kRate;
            if (loud && !on) {
                on = true;
                from = at;
            } else if (!loud && on) {
                on = false;
                if (at - from > 0.05)
                    found.emplace_back(from, at);
            }
        }
        if (on)
            found.emplace_back(from, m_lineStart + double(line.size()) / kRate);
        return found;
    }

private:
    struct Block {
        double at; // steady seconds of the first sample
        std::vector<gint16> samples;
    };
    std::vector<float> timeLine() {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::vector<float> line;
        if (m_blocks.empty())
            return line;
        m_lineStart = m_blocks.front().at;
        for (const Block& b : m_blocks) {
            const auto first = static_cast<size_t>(std::max(0L, std::lround((b.at - m_lineStart) * kRate)));
            if (line.size() < first + b.samples.size())
                line.resize(first + b.samples.size(), 0.f);
            for (size_t i = 0; i < b.samples.size(); ++i)
                line[first + i] = b.samples[i] / 32768.f;
        }
        return line;
    }
    static GstPadProbeReturn onBuffer(GstPad*, GstPadProbeInfo* info, gpointer self) {
        auto* me = static_cast<MonitorRecording*>(self);
        GstBuffer* buffer = GST_PAD_PROBE_INFO_BUFFER(info);
        GstMapInfo map;
        if (!buffer || !GST_BUFFER_PTS_IS_VALID(buffer) || !gst_buffer_map(buffer, &map, GST_MAP_READ))
            return GST_PAD_PROBE_OK;
        const GstClockTime base = gst_element_get_base_time(me->m_pipeline);
        Block block;
        block.at = double(base + GST_BUFFER_PTS(buffer)) / GST_SECOND;
        const auto* data = reinterpret_cast<const gint16*>(map.data);
        block.samples.assign(data, data + map.size / 2);
        gst_buffer_unmap(buffer, &map);
        std::lock_guard<std::mutex> lock(me->m_mutex);
        me->m_heard += block.samples.size();
        me->m_blocks.push_back(std::move(block));
        return GST_PAD_PROBE_OK;
    }

    GstElement* m_pipeline = nullptr;
    std::mutex m_mutex;
    std::vector<Block> m_blocks;
    size_t m_heard = 0;
    double m_lineStart = 0;
    QString m_why;
};

class StartsView : public PlayerView {
public:
    void showLook(const cPozycjaMP3& t, PlayLook look) override {
        if (look == PlayLook::Playing)
            starts.push_back({t.lngNrPozycji, SteadySeconds()});
    }
    void setTimeText(std::int32_t, const QString&) override {}
    void setTimeVisible(std::int32_t, bool) override {}
    void setBusyPointer(bool) override {}
    void runChanged(bool) override {}
    void modesChanged() override {}
    void deleteTrack(std::int32_t) override {}
    std::vector<std::pair<std::int32_t, double>> starts;
};

class SoundServerChain : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        server = new test::PrivateSoundServer;
        if (!server->running())
            return;
        const QString dir = test::MakeTempDir(QStringLiteral("tones"));
        QStringList parts;
        for (double hz : kTones) {
            const QString part = dir + QStringLiteral("/%1.wav").arg(hz);
            QProcess::execute(QStringLiteral("sox"), {QStringLiteral("-n"), QStringLiteral("-r"), QString::number(kRate),
                                                      QStringLiteral("-c"), QStringLiteral("2"), part,
                                                      QStringLiteral("synth"), QString::number(kSegment),
                                                      QStringLiteral("sine"), QString::number(hz),
                                                      QStringLiteral("vol"), QStringLiteral("0.5")});
            parts << part;
        }
        const QString wav = dir + QStringLiteral("/tones.wav");
        QProcess::execute(QStringLiteral("sox"), QStringList(parts) << wav);
        source = dir + QStringLiteral("/tones.mp3");
        QProcess::execute(QStringLiteral("lame"), {QStringLiteral("--quiet"), QStringLiteral("-b"), QStringLiteral("128"),
                                                   wav, source});
    }
    static void TearDownTestSuite() {
        delete server;
        server = nullptr;
    }
    void SetUp() override {
        if (!server->running())
            GTEST_SKIP() << "no sound server could start here: " << server->whyNot().toStdString();
        ASSERT_TRUE(QFileInfo::exists(source)) << "sox and lame make the tones";
        ASSERT_TRUE(monitor.start(test::PrivateSoundServer::monitorName())) << monitor.whyNot().toStdString();
    }

    // Track `number` plays tone `tone` through the sound server's sink.
    std::shared_ptr<cPozycjaMP3> add(std::int32_t number, int tone, std::int32_t pred, float overtake) {
        auto t = std::make_shared<cPozycjaMP3>();
        t->lngNrPozycji = number;
        t->lngTrack = pred;
        t->strFileNameSource = source;
        // The desktop's default output; KELBRIN_TEST_OUTPUT names another
        // (a device of the output list) to check it by hand.
        t->strDevice = qEnvironmentVariable("KELBRIN_TEST_OUTPUT", kDefaultOutputName);
        t->dblDuration = kSegment * std::size(kTones);
        const double from = tone * kSegment + 0.5;
        t->lngPoczatek_S = static_cast<std::int32_t>(from);
        t->lngPoczatek_SS = static_cast<std::int32_t>(std::lround((from - std::floor(from)) * 1000));
        const double to = from + kTrackLength;
        t->lngKoniec_S = static_cast<std::int32_t>(to);
        t->lngKoniec_SS = static_cast<std::int32_t>(std::lround((to - std::floor(to)) * 1000));
        t->sngOvertake = overtake;
        tracks.Add(t);
        toneOf[number] = kTones[tone];
        return t;
    }
    void makePlayer() {
        RebuildAllSuccessors(tracks);
        player = std::make_unique<SequencePlayer>(
            clock, [&] { return &tracks; }, run, view, [] { return 1; }, Program().settings, Program().outputs);
    }
    // Plays from track 1 until the run ends; `during` is asked on every turn.
    template <typename During> void play(During during) {
        player->cmdPlay_Click();
        QElapsedTimer waited;
        waited.start();
        while ((player->isRunning() || player->timerEnabled()) && waited.elapsed() < 30000) {
            during();
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        EXPECT_FALSE(player->isRunning()) << "the run did not end";
        // The last sound leaves the server's buffers.
        QElapsedTimer tail;
        tail.start();
        while (tail.elapsed() < 400)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    void play() {
        play([] {});
    }

    struct Heard {
        std::int32_t track;
        double started, onset, length;
    };
    // Every start of the run beside the stretch of its tone heard after it.
    std::vector<Heard> heard() {
        std::vector<Heard> all;
        QHash<double, std::vector<std::pair<double, double>>> stretches;
        QHash<double, size_t> used;
        for (const auto& [number, at] : view.starts) {
            const double hz = toneOf.value(number);
            if (!stretches.contains(hz))
                stretches[hz] = monitor.stretchesOf(hz);
            const auto& list = stretches[hz];
            size_t& next = used[hz];
            Heard h{number, at, -1, 0};
            // Its tone's first stretch beginning after the start (allowing
            // for the time line's few milliseconds of doubt).
            while (next < list.size() && list[next].first < at - 0.02)
                ++next;
            if (next < list.size()) {
                h.onset = list[next].first;
                h.length = list[next].second - list[next].first;
                ++next;
            }
            all.push_back(h);
        }
        if (qEnvironmentVariableIsSet("KELBRIN_TEST_SHOW_HEARD")) {
            for (const auto& [hz, list] : stretches.asKeyValueRange()) {
                std::string text;
                for (const auto& [from, to] : list)
                    text += " [" + std::to_string(from) + " " + std::to_string(to) + "]";
                std::printf("%g Hz:%s\n", hz, text.c_str());
            }
            for (const Heard& h : all)
                std::printf("track %d started %f heard %f for %f\n", h.track, h.started, h.onset, h.length);
        }
        return all;
    }
    // Every start of a run heard. The run's first is heard within the time
    // Play may take to its first sound: its graph is still prerolling as it
    // starts (slower in a sanitizer build). Every later start, the starts this
    // is about, is heard after one latency.
    void expectOneLatency(const std::vector<Heard>& all) {
        ASSERT_FALSE(all.empty());
        double low = 1e9, high = -1e9;
        for (size_t i = 0; i < all.size(); ++i) {
            const Heard& h = all[i];
            ASSERT_GE(h.onset, 0) << "track " << h.track << " started at " << h.started << " was never heard";
            const double latency = h.onset - h.started;
            if (i == 0) {
                EXPECT_LT(latency, kFirstSoundLimit) << "the run's first track heard late";
                continue;
            }
            low = std::min(low, latency);
            high = std::max(high, latency);
            EXPECT_LT(latency, 1.0) << "track " << h.track << " heard late";
        }
        EXPECT_LT(high - low, kLatencySpread) << "the starts were heard " << low << " to " << high << " s after them";
    }

    static inline test::PrivateSoundServer* server = nullptr;
    static inline QString source;
    test::ChainPlayerState state; // first: the program state outlives the tracks
    MonitorRecording monitor;
    test::ScriptedMessages* messages = state.messages;
    cPozycjeMP3 tracks;
    PlayRunState run;
    StartsView view;
    SystemClock clock;
    QHash<std::int32_t, double> toneOf;
    std::unique_ptr<SequencePlayer> player;
};

TEST_F(SoundServerChain, OverlapStraightOnAndGapAreHeardOnTimeInEveryRunOfTheEditor) {
    add(1, 0, 0, 0);
    add(2, 1, 1, -0.5f); // half a second over the end of 1
    add(3, 2, 2, 0);     // straight on
    add(4, 3, 3, 0.7f);  // after a gap
    makePlayer();
    play();
    EXPECT_TRUE(messages->shown.isEmpty());
    std::vector<Heard> first = heard();
    ASSERT_EQ(first.size(), 4u);
    expectOneLatency(first);
    for (const Heard& h : first)
        EXPECT_NEAR(h.length, kTrackLength, kLengthSlack) << "track " << h.track;
    // Where each falls from its predecessor's sound: overlap, straight, gap
    // (the player's pass and the sink's latency may add to each).
    EXPECT_NEAR(first[1].onset - first[0].onset, 1.5, kStepSlack);
    EXPECT_NEAR(first[2].onset - first[1].onset, 2.0, kStepSlack);
    EXPECT_NEAR(first[3].onset - first[2].onset, 2.7, kStepSlack);

    // A second run in the same editor, left with Next a second into track 1:
    // track 2, prerolled at the run's start, is heard at once.
    view.starts.clear();
    play([&] {
        if (view.starts.size() == 1 && SteadySeconds() - view.starts[0].second > 1.0)
            player->cmdNext_Click();
    });
    std::vector<Heard> second = heard();
    ASSERT_GE(second.size(), 2u);
    EXPECT_EQ(second[1].track, 2);
    expectOneLatency(second);
    EXPECT_NEAR(second[0].length, 1.0, kLengthSlack) << "track 1 ends at Next";
    EXPECT_NEAR(second[1].length, kTrackLength, kLengthSlack);
}

TEST_F(SoundServerChain, ALoopRepeatsAndAResumedPauseAreHeardOnTime) {
    add(1, 0, 0, 0);
    auto back = add(2, 1, 1, 0);
    back->lngLoopTrack = 1; // 1, 2, then 1 and 2 again
    back->lngLoopCount = back->lngLoopCountBackup = 1;
    makePlayer();
    bool paused = false, resumed = false;
    double pausedAt = 0;
    play([&] {
        // A second into the repeat of track 1, a pause of a second.
        if (!paused && view.starts.size() == 3 && SteadySeconds() - view.starts[2].second > 1.0) {
            player->cmdPause_Click();
            paused = true;
            pausedAt = SteadySeconds();
        } else if (paused && !resumed && SteadySeconds() - pausedAt > 1.0) {
            player->cmdPause_Click();
            resumed = true;
        }
    });
    EXPECT_TRUE(messages->shown.isEmpty());
    ASSERT_TRUE(resumed);
    std::vector<Heard> all = heard();
    ASSERT_EQ(all.size(), 5u) << "1, 2, 1, 1 resumed, 2";
    EXPECT_EQ(all[2].track, 1);
    EXPECT_EQ(all[3].track, 1);
    expectOneLatency(all);
    EXPECT_NEAR(all[2].length + all[3].length, kTrackLength, 2 * kLengthSlack) << "the pause loses and repeats nothing";
    EXPECT_NEAR(all[4].length, kTrackLength, kLengthSlack);
}

} // namespace
