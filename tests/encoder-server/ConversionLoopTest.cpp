// The conversion loop in this process: blocks, splits, ends, failures.
#include "ServerFixture.h"

#include "encoder-server/ServerTexts.h"
#include "encoder-server/SpeechDetector.h"

#include <QRegularExpression>
#include <QtEndian>

using namespace kelbrin;
using namespace kelbrin::test;
using namespace kelbrin::handshake;

namespace {

quint32 Le32At(const QByteArray& bytes, int at) { return qFromLittleEndian<quint32>(bytes.constData() + at); }

} // namespace

TEST_F(ServerFixture, WaitingBlocksAreAllEncodedBeforeTheRequestedEnd) {
    ASSERT_TRUE(init());
    EXPECT_EQ(server->DajStan(), 1);
    EXPECT_GT(server->DajStanPliku(), 0);
    append(5, 4608);
    editor->requestFinish();
    server->Start(200);
    clock->advance(199);
    EXPECT_TRUE(lame->encodedSamples.isEmpty()); // not before the interval
    clock->advance(1);
    EXPECT_EQ(lame->encodedSamples.size(), 10); // 2 chunks of 1152 values per block
    EXPECT_EQ(settings->values.value(kConverted), "5");
    EXPECT_EQ(settings->values.value(kLoop), "-1");
    EXPECT_TRUE(editor->serverEnded());
    EXPECT_EQ(server->DajStan(), -1);
    // The file is finished before the editor learns of the end.
    EXPECT_EQ(lame->deinitCalls, 1);
    ASSERT_EQ(lame->vbrHeaderPaths.size(), 1);
    EXPECT_EQ(server->DajStanPliku(), 0);
    EXPECT_EQ(read(outputs().first()).size(), 5 * 2 * 417 + 100);
    EXPECT_EQ(settings->values.value(kLastFile), outputs().first());

    server->UNINIT();
    EXPECT_EQ(server->strFileRec(), outputs());
    EXPECT_EQ(lame->openStreams(), 0);
}

TEST_F(ServerFixture, TheBufferFileRestartsOnlyWhenEveryBlockIsDone) {
    ASSERT_TRUE(init());
    server->Start(200);
    append(3, 4608);
    clock->advance(200);
    EXPECT_EQ(settings->values.value(kConverted), "3");
    append(1, 4608, 2); // all were done: the file starts over
    EXPECT_EQ(buffer.size(), 4608);
    append(1, 4608, 3); // one waits: the next goes behind it
    EXPECT_EQ(buffer.size(), 2 * 4608);
    clock->advance(20);
    EXPECT_EQ(settings->values.value(kConverted), "5");
    EXPECT_EQ(lame->encodedSamples.size(), 10);
    editor->requestFinish();
    clock->advance(20);
    EXPECT_TRUE(editor->serverEnded());
}

TEST_F(ServerFixture, AShortBlockIsReadAgainAndNeverEncodedTwice) {
    ASSERT_TRUE(init());
    server->Start(0);
    append(1, 4608);
    buffer.resize(1000); // counted, but not all of it is on disk yet
    clock->advance(100);
    EXPECT_TRUE(lame->encodedSamples.isEmpty());
    EXPECT_EQ(settings->values.value(kConverted), "0");
    buffer.seek(0);
    buffer.write(QByteArray(4608, 1));
    buffer.flush();
    clock->advance(20);
    EXPECT_EQ(lame->encodedSamples.size(), 2);
    clock->advance(100);
    EXPECT_EQ(lame->encodedSamples.size(), 2);
}

TEST_F(ServerFixture, AbandonEndsWithoutTheBacklogButWithFinishedFiles) {
    ASSERT_TRUE(init());
    append(3, 4608);
    editor->requestAbandon();
    server->Start(200);
    clock->advance(200);
    EXPECT_TRUE(lame->encodedSamples.isEmpty());
    EXPECT_TRUE(editor->serverEnded());
    EXPECT_EQ(lame->vbrHeaderPaths.size(), 1);
}

TEST_F(ServerFixture, SplitsBySizeGiveCompleteFilesWithFreeNames) {
    settings->values.insert("NewFileRec", "1"); // KB
    ASSERT_TRUE(init());
    append(5, 4608);
    editor->requestFinish();
    server->Start(0);
    clock->advance(0);
    // 834 bytes per block: the third block starts a new file, the fifth another.
    const QStringList names = outputs();
    ASSERT_EQ(names.size(), 3);
    const QRegularExpression pattern("^R\\d{4}__\\d\\d_\\d\\d_\\d\\d(_\\d+)?\\.mp3$");
    for (const QString& name : names)
        EXPECT_TRUE(pattern.match(name).hasMatch()) << name.toStdString();
    server->UNINIT();
    const QStringList recorded = server->strFileRec();
    ASSERT_EQ(recorded.size(), 3);
    EXPECT_EQ(read(recorded[0]).size(), 2 * 834 + 100);
    EXPECT_EQ(read(recorded[1]).size(), 2 * 834 + 100);
    EXPECT_EQ(read(recorded[2]).size(), 834 + 100);
    // Each file got the end of its own stream and its VBR header.
    EXPECT_EQ(lame->deinitCalls, 3);
    ASSERT_EQ(lame->vbrHeaderPaths.size(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(lame->vbrHeaderPaths[i].endsWith(recorded[i]));
    EXPECT_EQ(settings->values.value(kFilePath), recorded[2]);
}

TEST_F(ServerFixture, ANearlyFullDiskEndsTheRecordingWithItsFilesFinished) {
    ASSERT_TRUE(init());
    qint64 free = 1LL << 40;
    server->setFreeSpace([&free](const QString&) { return free; });
    server->Start(0);
    append(10, 4608);
    clock->advance(0);
    EXPECT_FALSE(editor->serverEnded());
    // A threshold of twenty blocks' output, and never less than a sane floor.
    free = 4 * 1024 * 1024;
    append(10, 4608);
    clock->advance(20);
    EXPECT_EQ(settings->values.value(kConverted), "20");
    EXPECT_TRUE(editor->serverEnded());
    EXPECT_EQ(editor->endReason(), servertext::kDiskNearlyFull);
    EXPECT_EQ(lame->vbrHeaderPaths.size(), 1);
    EXPECT_EQ(server->DajStan(), -1);
    clock->advance(0);
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].textNumber, servertext::kDiskNearlyFull);
}

TEST_F(ServerFixture, TheEditorLeavingFinishesTheFiles) {
    ASSERT_TRUE(init());
    server->Start(0);
    append(2, 4608);
    clock->advance(0);
    server->shutdown();
    EXPECT_TRUE(editor->serverEnded());
    EXPECT_EQ(lame->vbrHeaderPaths.size(), 1);
    EXPECT_EQ(server->DajStanPliku(), 0);
}

TEST_F(ServerFixture, AnEncoderThatCannotLoadEndsTheRecordingAtOnce) {
    lame->libraryState.loaded = false;
    lame->libraryState.description = "no libmp3lame";
    ASSERT_TRUE(init());
    server->Start(200);
    EXPECT_EQ(server->DajStan(), -1);
    EXPECT_TRUE(editor->serverEnded());
    EXPECT_EQ(server->DajStanPliku(), 0);
    clock->advance(0);
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].textNumber, servertext::kEncoderFailed);
}

TEST_F(ServerFixture, AFailedInitLeavesNothingBusyAndNothingBehindAndTellsWhyAfterItReturned) {
    settings->values.insert("EngineType", "0");
    ASSERT_FALSE(init(1)); // no formatex.ini
    EXPECT_EQ(server->DajStan(), 0);
    EXPECT_EQ(server->DajStanPliku(), 0);
    EXPECT_TRUE(outputs().isEmpty());
    // The editor waits on INIT: the box comes once the call has returned.
    EXPECT_TRUE(messages->shown.isEmpty());
    clock->advance(0);
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].textNumber, servertext::kFormatFileMissing);

    settings->values.insert("EngineType", "1");
    QFile::remove(bufferPath);
    buffer.close();
    ASSERT_FALSE(init());
    EXPECT_EQ(server->DajStan(), 0);
    EXPECT_EQ(messages->shown.size(), 1);
    clock->advance(0);
    EXPECT_EQ(messages->shown.last().textNumber, servertext::kBufferOpenFailed);
    EXPECT_TRUE(outputs().isEmpty());
}

TEST_F(ServerFixture, CodecWaveFilesHaveTheirSizesAndTheLastBlockIsConvertedOnce) {
    settings->values.insert("EngineType", "0");
    settings->values.insert("RecBufor", "1"); // 512-byte blocks
    writeFormatFile(WaveFormatEx::pcm(2, 44100, 16));
    ASSERT_TRUE(init());
    append(3, 512);
    editor->requestFinish();
    server->Start(0);
    clock->advance(0);
    EXPECT_EQ(codecs->log->bytesConverted, 3 * 512);
    EXPECT_EQ(codecs->log->ends, 1);
    server->UNINIT();

    const QByteArray wav = read(server->strFileRec().first());
    ASSERT_TRUE(server->strFileRec().first().endsWith(".wav"));
    ASSERT_EQ(wav.size(), 56 + 3 * 512);
    EXPECT_EQ(wav.left(4), "RIFF");
    EXPECT_EQ(Le32At(wav, 4), quint32(wav.size() - 8));
    EXPECT_EQ(wav.mid(12, 4), "fmt ");
    EXPECT_EQ(Le32At(wav, 16), 16u); // plain PCM
    EXPECT_EQ(wav.mid(36, 4), "fact");
    EXPECT_EQ(Le32At(wav, 44), 3u * 128); // sample frames
    EXPECT_EQ(wav.mid(48, 4), "data");
    EXPECT_EQ(Le32At(wav, 52), 3u * 512);
}

TEST_F(ServerFixture, PartBlocksOfAPauseAndAStopAreConvertedWithTheirOwnLength) {
    settings->values.insert("EngineType", "0");
    settings->values.insert("RecBufor", "1"); // 512-byte blocks of 16-bit stereo
    writeFormatFile(WaveFormatEx::pcm(2, 44100, 16));
    ASSERT_TRUE(init());
    server->Start(0);
    auto appendPart = [&](qint64 bytes, char fill) {
        const QByteArray part(bytes, fill);
        ASSERT_TRUE(editor->appendBlock(buffer, part.constData(), part.size(), 512));
    };
    append(1, 512, 'a');
    appendPart(100, 'b'); // paused here
    clock->advance(20);   // the server catches up: the file starts over
    append(1, 512, 'c');
    EXPECT_EQ(buffer.size(), 512);
    appendPart(38, 'd'); // stopped here, in the middle of a sample frame
    editor->requestFinish();
    clock->advance(20);
    ASSERT_TRUE(editor->serverEnded());
    server->UNINIT();

    const QByteArray wav = read(server->strFileRec().value(0));
    const QByteArray expected =
        QByteArray(512, 'a') + QByteArray(100, 'b') + QByteArray(512, 'c') + QByteArray(36, 'd');
    EXPECT_EQ(wav.mid(56), expected);
    EXPECT_EQ(Le32At(wav, 44), quint32(expected.size() / 4)); // sample frames
}

namespace {

// Marks segment changes at the blocks it is given.
class BlockMarks final : public SpeechDetector {
public:
    explicit BlockMarks(QMap<int, Change> marks) : m_marks(std::move(marks)) {}
    void recordingStarted(const PcmLayout&) override {}
    QList<Mark> examineBlock(const QByteArray&) override {
        const int block = m_block++;
        if (m_marks.contains(block))
            return {{m_marks.value(block), 0}};
        return {};
    }
    void recordingEnded() override {}

private:
    QMap<int, Change> m_marks;
    int m_block = 0;
};

} // namespace

TEST_F(ServerFixture, SegmentListsCountSecondsFromTheStartOfEachFile) {
    settings->values.insert("RecBufor2", "176400"); // one second at 44100 Hz stereo
    settings->values.insert("NewFileRec", "90");    // three blocks per file
    using Change = SpeechDetector::Change;
    SetSpeechDetectorFactory([] {
        return std::make_unique<BlockMarks>(QMap<int, Change>{{0, Change::SegmentStarted},
                                                              {1, Change::SegmentEnded},
                                                              {3, Change::SegmentStarted},
                                                              {4, Change::SegmentEnded}});
    });
    ASSERT_TRUE(init(1));
    append(6, 176400);
    editor->requestFinish();
    server->Start(0);
    clock->advance(0);
    SetSpeechDetectorFactory(nullptr);
    server->UNINIT();
    const QStringList recorded = server->strFileRec();
    ASSERT_EQ(recorded.size(), 2);
    auto list = [&](const QString& name) { return read(QString(name).replace(".mp3", ".tim")); };
    // Only the recording's own first second leaves out a start.
    EXPECT_EQ(list(recorded[0]), "\r\n-1");
    // A start in the second file's first second is kept, as its first positive second.
    EXPECT_EQ(list(recorded[1]), "\r\n1\r\n-1");
}

TEST_F(ServerFixture, Layer3CodecOutputGoesIntoAWaveFileOnlyWhenAskedFor) {
    settings->values.insert("EngineType", "0");
    settings->values.insert("RecBufor", "1");
    WaveFormatEx mp3;
    mp3.wFormatTag = wave::kMpegLayer3;
    mp3.nChannels = 2;
    mp3.nSamplesPerSec = 44100;
    mp3.nAvgBytesPerSec = 16000;
    mp3.nBlockAlign = 1;
    mp3.cbSize = 12;
    mp3.extra = QByteArray(12, '\0');
    writeFormatFile(mp3);
    for (const char* wanted : {"1", "0"}) {
        settings->values.insert("RecLast", wanted);
        ASSERT_TRUE(init());
        append(2, 512);
        editor->requestFinish();
        server->Start(0);
        clock->advance(0);
        server->UNINIT();
        const QString name = server->strFileRec().value(0);
        const QByteArray file = read(name);
        if (QByteArray(wanted) == "1") {
            EXPECT_TRUE(name.endsWith(".wav")) << qPrintable(name);
            ASSERT_EQ(file.left(4), "RIFF");
            EXPECT_EQ(file.mid(8, 4), "WAVE");
            EXPECT_EQ(qFromLittleEndian<quint16>(file.constData() + 20), wave::kMpegLayer3);
            EXPECT_EQ(Le32At(file, 4), quint32(file.size() - 8));
        } else {
            EXPECT_TRUE(name.endsWith(".mp3")) << qPrintable(name);
            EXPECT_EQ(file.size(), 2 * 512); // the codec's bytes alone
        }
        editor->reset();
        buffer.resize(0);
    }
}

TEST_F(ServerFixture, WithoutSpeechMarkersNoListIsWritten) {
    ASSERT_TRUE(init(0));
    editor->requestFinish();
    server->Start(0);
    clock->advance(0);
    server->UNINIT();
    EXPECT_EQ(outputs().filter(".tim").size(), 0);
    EXPECT_EQ(outputs().size(), 1);
}
