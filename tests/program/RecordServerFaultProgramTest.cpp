// "kelbrin -rec" whose encoder server is killed or runs out of disk: whatever
// the server counted as encoded is in its file, whole and once; the rest is in
// the buffer the editor keeps; a WAVE file's sample count is what its data holds.
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <gtest/gtest.h>

#include "RecordProgramFixture.h"
#include "core/document/MpegHeader.h"

using namespace kelbrin;

namespace {

class RecordServerFaultProgramTest : public test::RecordProgramFixture {
protected:
    // The sound of the recording's buffer kept by the editor, in bytes.
    qint64 keptBytes() const {
        const QStringList kept = QDir(home + "/buffer").entryList({"Bufor*kept*.tmp"}, QDir::Files);
        return kept.size() == 1 ? QFileInfo(home + "/buffer/" + kept[0]).size() : -1;
    }
    // The captured sound against what the file and the kept buffer hold, in
    // sample frames: each block is in one of them, once, and none is cut short
    // but for what the encoder still `held` when it died. The kept buffer
    // holds the last blocks captured, whole.
    void expectEachBlockOnce(qint64 fileFrames, qint64 blockFrames, int frameBytes, const char* what,
                             qint64 held = 0) const {
        const qint64 written = stored("RecSW");
        ASSERT_GE(stored("RecConv"), 1) << what;
        const qint64 kept = keptBytes();
        ASSERT_GT(kept, 0) << what << " kept no buffer";
        qint64 from = written;
        while (from > 0 && blockBytes(from, written) < kept)
            --from;
        EXPECT_EQ(blockBytes(from, written), kept) << what << ": the kept buffer is not the last blocks, whole";
        const qint64 captured = blockBytes(0, written) / frameBytes;
        const qint64 unencoded = kept / frameBytes;
        EXPECT_GE(fileFrames + held, captured - unencoded) << what << ": sound of a block is missing";
        // Beyond them the file holds at most the codec block (MPEG frame) that
        // ends the last block in it.
        EXPECT_LT(fileFrames + unencoded - captured, blockFrames / 2) << what << ": a block is both in the file and kept";
    }
};

// Walks an MP3 file frame by frame from its first byte; the bytes walked.
qint64 WholeFrameBytes(const QByteArray& mp3) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(mp3.constData());
    qint64 at = 0;
    while (mp3.size() - at >= 4 && mpeg::IsCandidate(bytes + at)) {
        const qint64 length = mpeg::ExactFrameLength(bytes[at + 1], bytes[at + 2]);
        if (length < 4 || at + length > mp3.size())
            break;
        at += length;
    }
    return at;
}

// The sample count of a WAVE file's "fact" chunk, or -1.
qint64 FactSamples(const QString& wav) {
    QFile file(wav);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = file.readAll();
    const qsizetype fact = bytes.indexOf("fact");
    return fact > 0 && fact + 12 <= bytes.size() ? qFromLittleEndian<quint32>(bytes.constData() + fact + 8) : -1;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A decoder gives LAME's encoder delay and its own before the first sample
// that went in (a CBR file has no tag telling it to skip them).
constexpr qint64 kMp3Delay = 1105;

TEST_F(RecordServerFaultProgramTest, AServerKilledDuringABacklogLeavesWholeFramesAndCountsEveryBlockItWrote) {
    if (!needsServer())
        GTEST_SKIP() << "no encoder server (capturon) in " << test::RuntimeDir().toStdString();
    // The server stops for a while, then works through the backlog slowly and
    // is killed in the middle of it, blocks after it last caught up.
    env.insert("KELBRIN_SERVER_JITTER_MS", "1500");
    process.setProcessEnvironment(env);
    const QString killDuringBacklog = whenRecording("mp3", 1) + "; s=" + serverPid() +
                                      "; kill -STOP $s; sleep 8; kill -CONT $s; sleep 4; kill -9 $s";
    ASSERT_TRUE(runOnSessionBus(recordingLine(killDuringBacklog), 90000)) << stderrText.toStdString();
    EXPECT_EQ(process.exitCode(), 1) << stderrText.toStdString();
    EXPECT_TRUE(stderrText.contains("[6702]")) << stderrText.toStdString();

    const QStringList mp3s = QDir(records).entryList({"*.mp3"}, QDir::Files);
    ASSERT_EQ(mp3s.size(), 1) << QDir(records).entryList().join(", ").toStdString();
    const QByteArray mp3 = ReadAll(records + mp3s[0]);
    ASSERT_GT(mp3.size(), 0);
    EXPECT_EQ(WholeFrameBytes(mp3), mp3.size()) << "the last frame is cut";
    // 44100 Hz stereo blocks of 230400 bytes. The encoder's own lookahead dies
    // with the server: the last counted block may lack it.
    const qint64 sound = decoded(records + mp3s[0]).size() / 2 - kMp3Delay;
    expectEachBlockOnce(sound, 57600, 4, "MP3", 5 * 1152);
}

TEST_F(RecordServerFaultProgramTest, AFullRecordingDiskKeepsEveryCountedBlockWholeInTheFileAndCountsWhatItsDataHolds) {
    if (!needsServer())
        GTEST_SKIP() << "no encoder server (capturon) in " << test::RuntimeDir().toStdString();
    enum class Kind { Lame, Pcm, Ima };
    // The blocks the settings' defaults give: 230400 bytes of 44100 Hz stereo
    // for LAME, 256000 bytes of the same for PCM, 256000 of 22050 Hz 8-bit mono for IMA ADPCM.
    struct Case {
        const char* what;
        Kind kind;
        QString disk;
        qint64 blockFrames;
        int frameBytes;
    } cases[] = {
        {"LAME", Kind::Lame, "size=150k", 57600, 4},
        {"PCM", Kind::Pcm, "size=1m", 64000, 4},
        {"IMA ADPCM", Kind::Ima, "size=150k", 256000, 1},
    };
    bool first = true;
    for (const Case& c : cases) {
        if (!first)
            SetUp(); // each case in a home of its own
        first = false;
        if (c.kind == Kind::Ima)
            useImaAdpcm();
        if (c.kind == Kind::Pcm) {
            addSettings("EngineType=0\n");
            const QByteArray pcm = QByteArray::fromHex("0100020044ac000010b1020004001000");
            test::WriteFile(home + "/config/Pelorin/formatex.ini", pcm.leftJustified(68, '\0'));
        }
        const bool ended = runOnSmallDisk(records, recordingLine() + "; s=$?; cp " + quoted(records) + "R* " +
                                                       quoted(home) + "; exit $s",
                                          90000, c.disk);
        if (!ended && mountsRefused)
            GTEST_SKIP() << "this system mounts no tmpfs, not even in a namespace of its own";
        ASSERT_TRUE(ended) << c.what << stderrText.toStdString();
        EXPECT_EQ(process.exitCode(), 1) << c.what << stderrText.toStdString();
        EXPECT_TRUE(stderrText.contains("[6652]")) << c.what << stderrText.toStdString();

        // The disk went with the namespace: the copies beside the home are what it held.
        const QStringList files = QDir(home).entryList({"R*.mp3", "R*.wav"}, QDir::Files);
        ASSERT_EQ(files.size(), 1) << c.what << QDir(home).entryList().join(", ").toStdString();
        const QString file = home + "/" + files[0];
        const qint64 samples = decoded(file).size() / 2;
        if (c.kind == Kind::Lame) {
            const QByteArray mp3 = ReadAll(file);
            EXPECT_EQ(WholeFrameBytes(mp3), mp3.size()) << "the last frame is cut";
            // One frame more than the counted blocks need may stay.
            expectEachBlockOnce(samples - kMp3Delay, c.blockFrames, c.frameBytes, c.what);
        } else {
            EXPECT_EQ(FactSamples(file), samples) << c.what;
            expectEachBlockOnce(samples, c.blockFrames, c.frameBytes, c.what);
        }
    }
}

TEST_F(RecordServerFaultProgramTest, AnImaAdpcmFileOfAKilledServerCountsTheSamplesItsDataHolds) {
    if (!needsServer())
        GTEST_SKIP() << "no encoder server (capturon) in " << test::RuntimeDir().toStdString();
    // Killed outright well into the recording, while the codec holds part of a block.
    useImaAdpcm();
    const QString killServer = killServerOnceWaveHolds(300000);
    ASSERT_TRUE(runOnSessionBus(recordingLine(killServer), 90000)) << stderrText.toStdString();
    EXPECT_EQ(process.exitCode(), 1) << stderrText.toStdString();

    const QStringList waves = QDir(records).entryList({"*.wav"}, QDir::Files);
    ASSERT_EQ(waves.size(), 1) << QDir(records).entryList().join(", ").toStdString();
    const QString wav = records + waves[0];
    const QByteArray bytes = ReadAll(wav);
    const qsizetype data = bytes.indexOf("data");
    ASSERT_GT(data, 0);
    const quint32 dataBytes = qFromLittleEndian<quint32>(bytes.constData() + data + 4);
    EXPECT_EQ(dataBytes, quint32(bytes.size() - data - 8));
    EXPECT_EQ(dataBytes % 512, 0u);
    const qint64 samples = decoded(wav).size() / 2;
    EXPECT_EQ(samples, dataBytes / 512 * 1017);
    EXPECT_EQ(FactSamples(wav), samples);
    expectEachBlockOnce(samples, 256000, 1, "IMA ADPCM", 1017);
}

} // namespace
