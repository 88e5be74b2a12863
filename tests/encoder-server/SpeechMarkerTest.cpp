// Speech-marker mode over a whole generated recording in the codec's 8-bit
// format (16-bit goes through the conversion loop in SpeechRecordingTest):
// segment changes land within a second of the true edges, the tuning
// values travel through the settings, and the mixer diagnostics run at each
// change only when asked for.
#include "SpeechSignals.h"
#include "core/app/MessageService.h"
#include "encoder-server/speech/SpeechMarker.h"
#include "platform/mixer/FakeMixerSystem.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/ScriptedMessages.h"

#include <gtest/gtest.h>

using namespace kelbrin;
using namespace kelbrin::test;

namespace {

// Records segment changes in seconds from the start of the recording.
class TimedList final : public SegmentListWriter {
public:
    explicit TimedList(const PcmLayout& layout) : m_rate(layout.sampleRate) {}
    void writeSegmentStart(qint64 frame) override { starts.append(double(blockStart + frame) / m_rate); }
    void writeSegmentEnd(qint64 frame) override { ends.append(double(blockStart + frame) / m_rate); }

    qint64 blockStart = 0;
    QList<double> starts;
    QList<double> ends;

private:
    int m_rate;
};

class SpeechMarkerTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto store = std::make_unique<MemorySettingsStore>();
        settings = store.get();
        previousStore = SetSettingsStore(std::move(store));
        auto fake = std::make_unique<FakeMixerSystem>();
        mixers = fake.get();
        previousMixers = SetMixers(std::move(fake));
        auto scripted = std::make_unique<ScriptedMessages>();
        messages = scripted.get();
        previousMessages = SetMessageService(std::move(scripted));
    }
    void TearDown() override {
        SetSettingsStore(std::move(previousStore));
        SetMixers(std::move(previousMixers));
        SetMessageService(std::move(previousMessages));
    }

    // Tuned for 60 ms syllables: windows of about 4.5 ms (given in examined
    // values: one per frame in stereo, every other sample in mono) and
    // quarter-second periods.
    void UseTalkSettings(int windowLength = 200) {
        settings->values.insert("RecMaksPr", QString::number(windowLength));
        settings->values.insert("RecNerwPeriod", "250");
        settings->values.insert("ProgAkc", "12000");
    }

    // Feeds the recording block by block, as the conversion loop does.
    void Run(const PcmLayout& layout, const QList<Stretch>& stretches, int blockSize, TimedList& list) {
        SpeechMarker marker(layout, list);
        marker.start();
        const QByteArray recording = MakeRecording(layout, stretches);
        for (qsizetype at = 0; at < recording.size(); at += blockSize) {
            const QByteArrayView block(recording.constData() + at, std::min<qsizetype>(blockSize, recording.size() - at));
            marker.examineBlock(block);
            list.blockStart += block.size() / layout.bytesPerFrame();
        }
        marker.finish();
    }

    static void ExpectNear(const QList<double>& found, const QList<double>& truth, const char* what) {
        ASSERT_EQ(found.size(), truth.size()) << what;
        for (qsizetype i = 0; i < truth.size(); ++i) {
            EXPECT_GE(found[i], truth[i]) << what << " " << i;
            EXPECT_LE(found[i], truth[i] + 1.0) << what << " " << i;
        }
    }

    MemorySettingsStore* settings = nullptr;
    FakeMixerSystem* mixers = nullptr;
    ScriptedMessages* messages = nullptr;
    std::unique_ptr<SettingsStore> previousStore;
    std::unique_ptr<MixerSystem> previousMixers;
    std::unique_ptr<MessageService> previousMessages;
};

const QList<Stretch> kAlternating{
    {Stretch::Tone, 5},  {Stretch::Talk, 6},    {Stretch::Silence, 7}, {Stretch::Talk, 5},
    {Stretch::Tone, 4},  {Stretch::Talk, 4.5},  {Stretch::Silence, 3},
};

} // namespace

TEST_F(SpeechMarkerTest, EightBitMonoSegmentsFollowTheTalkWithinASecond) {
    UseTalkSettings(25);
    const PcmLayout layout{8, 1, 11025};
    TimedList list(layout);
    Run(layout, kAlternating, 500 * 512, list); // one block holds 23 s of sound
    const TalkEdges edges = EdgesOf(kAlternating);
    ExpectNear(list.starts, edges.starts, "start");
    ExpectNear(list.ends, edges.ends, "end");
}

TEST_F(SpeechMarkerTest, TuningValuesComeFromTheSettingsAndGoBack) {
    settings->values.insert("ProgAkc", "900");
    settings->values.insert("RecMaksPr", "77abc"); // the leading number counts
    settings->values.insert("RecDiffPr", "99999"); // clamped to the slider
    settings->values.insert("RecNerwPeriod", "1500");
    TimedList list(PcmLayout{});
    SpeechMarker marker(PcmLayout{}, list);
    marker.start();
    EXPECT_EQ(marker.detector().parameters().threshold, 900);
    EXPECT_EQ(marker.detector().parameters().windowLength, 77);
    EXPECT_EQ(marker.detector().parameters().minimumJump, 32767);
    EXPECT_EQ(marker.detector().parameters().crossingLevel, 5000);
    EXPECT_EQ(marker.detector().parameters().periodMs, 1500);
    EXPECT_EQ(marker.detector().parameters().gainWhileSpeaking, 30000);

    SpeechParameters changed = marker.detector().parameters();
    changed.crossingLevel = 4321;
    marker.setParameters(changed);
    settings->writes.clear();
    marker.finish();
    EXPECT_EQ(settings->writes,
              (QStringList{"ProgAkc", "RecMaksPr", "RecDiffPr", "RecMinWartPr", "RecNerwPeriod", "RecMuteVol"}));
    EXPECT_EQ(settings->values.value("RecMinWartPr"), "4321");
    EXPECT_EQ(settings->values.value("RecDiffPr"), "32767");
}

TEST_F(SpeechMarkerTest, MixerDiagnosticsRunAtEachChangeOnlyWhenAskedFor) {
    UseTalkSettings();
    FakeMixerDeviceData device;
    device.destinations.insert(1, MixerLine{"Capture", "Cap", 0x10001, mixer::CaptureDestination, 2, 0, 0});
    mixers->devices.append(device);
    const PcmLayout layout{16, 2, 44100};
    const QList<Stretch> stretches{{Stretch::Tone, 2}, {Stretch::Talk, 3}, {Stretch::Tone, 3}};

    TimedList quiet(layout);
    Run(layout, stretches, 230400, quiet);
    EXPECT_EQ(mixers->calls, 0);
    EXPECT_TRUE(messages->shown.isEmpty());

    settings->values.insert("RecHeight", "1");
    TimedList listed(layout);
    Run(layout, stretches, 230400, listed);
    const int changes = int(listed.starts.size() + listed.ends.size());
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(mixers->opened, changes);
    EXPECT_EQ(mixers->closed, changes);
    EXPECT_EQ(messages->shown.size(), changes); // one box: the capture line's name
}
