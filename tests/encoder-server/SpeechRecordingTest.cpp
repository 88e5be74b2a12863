// Speech-marker mode through the real conversion loop: a generated recording
// of talk (tone bursts alternating with silence), steady tone and silence goes
// through the buffer file block by block, and each output file's ".tim" list
// marks the true segment edges within a second, counted from that file's start.
#include "ServerFixture.h"
#include "SpeechSignals.h"
#include "encoder-server/speech/SpeechMarkerDetector.h"
#include "platform/mixer/FakeMixerSystem.h"

using namespace kelbrin;
using namespace kelbrin::test;

namespace {

constexpr qint64 kBlock = 230400;       // the default LAME block: 57600 stereo frames
constexpr qint64 kBlocksPerFile = 5;    // 5 x 41700 encoded bytes pass the 200 KB split
constexpr double kFileSeconds = kBlocksPerFile * 57600 / 44100.0;

} // namespace

TEST_F(ServerFixture, SegmentListsOfEveryFileFollowTheTalk) {
    settings->values.insert("RecBufor2", QString::number(kBlock));
    settings->values.insert("NewFileRec", "200");
    settings->values.insert("RecMaksPr", "200");
    settings->values.insert("RecNerwPeriod", "250");
    SetSpeechDetectorFactory([] { return std::make_unique<SpeechMarkerDetector>(true); });
    ASSERT_TRUE(init(1));

    const QList<Stretch> stretches{{Stretch::Tone, 5}, {Stretch::Talk, 6},   {Stretch::Silence, 7},
                                   {Stretch::Talk, 5}, {Stretch::Tone, 4},   {Stretch::Talk, 4.5},
                                   {Stretch::Silence, 3}};
    QByteArray recording = MakeRecording(PcmLayout{16, 2, 44100}, stretches);
    recording.append(QByteArray(kBlock - recording.size() % kBlock, '\0'));
    for (qint64 at = 0; at < recording.size(); at += kBlock)
        ASSERT_TRUE(editor->appendBlock(buffer, recording.constData() + at, kBlock));
    editor->requestFinish();
    server->Start(0);
    clock->advance(0);
    SetSpeechDetectorFactory(nullptr);
    server->UNINIT();

    // Every file has its list; entries are seconds from that file's start.
    const QStringList recorded = server->strFileRec();
    ASSERT_EQ(recorded.size(), 6);
    QList<double> starts, ends;
    for (qsizetype k = 0; k < recorded.size(); ++k) {
        const QByteArray list = read(QString(recorded[k]).replace(".mp3", ".tim"));
        ASSERT_TRUE(QFileInfo::exists(folder + "/" + QString(recorded[k]).replace(".mp3", ".tim")));
        for (const QByteArray& entry : list.split('\n')) {
            const QByteArray value = entry.trimmed();
            if (value.isEmpty())
                continue;
            const double at = k * kFileSeconds + std::abs(value.toInt());
            (value.startsWith('-') ? ends : starts).append(at);
        }
    }
    // The segment from the very start opens within the first file's first
    // second, where no start is written.
    TalkEdges truth = EdgesOf(stretches);
    truth.starts.removeFirst();
    ASSERT_EQ(starts.size(), truth.starts.size());
    ASSERT_EQ(ends.size(), truth.ends.size());
    for (qsizetype i = 0; i < truth.starts.size(); ++i)
        EXPECT_NEAR(starts[i], truth.starts[i], 1.0) << "start " << i;
    for (qsizetype i = 0; i < truth.ends.size(); ++i)
        EXPECT_NEAR(ends[i], truth.ends[i], 1.0) << "end " << i;
    // The detector's tuning went back into the settings at the end.
    EXPECT_EQ(settings->values.value("RecNerwPeriod"), "250");
}

TEST_F(ServerFixture, MixerDiagnosticsListAtTheStartAndEndOnlyWhenAskedFor) {
    auto owned = std::make_unique<FakeMixerSystem>();
    FakeMixerSystem* mixers = owned.get();
    FakeMixerDeviceData card;
    card.destinations.insert(1, MixerLine{"Capture", "Cap", 0x10001, mixer::CaptureDestination, 2, 0, 0});
    mixers->devices.append(card);
    auto previous = SetMixers(std::move(owned));
    auto record = [&] {
        ASSERT_TRUE(init(0));
        append(2, 4608);
        editor->requestFinish();
        server->Start(0);
        clock->advance(0);
        server->UNINIT();
    };
    record();
    EXPECT_EQ(mixers->calls, 0);
    EXPECT_TRUE(messages->shown.isEmpty());

    settings->values.insert("RecHeight", "1");
    record();
    EXPECT_EQ(mixers->opened, 2); // at the start and, once the loop has unwound, at the end
    EXPECT_EQ(messages->shown.size(), 2);
    SetMixers(std::move(previous));
}
