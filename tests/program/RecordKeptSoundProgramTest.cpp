// What a "-rec" run leaves when its recording does not end as asked: the
// sound the server never encoded is kept once, beside what it did encode; a
// recording lost on the way fails the run however the run is ended; and a
// buffer folder that is no place for the user's sound is replaced for the run
// only, saying so.
#include "RecordProgramFixture.h"

using namespace kelbrin;

namespace {

class RecordKeptSoundProgramTest : public test::RecordProgramFixture {
protected:
    static constexpr double kPcmBytesPerSecond = 44100 * 2 * 2; // what LAME recordings capture
};

TEST_F(RecordKeptSoundProgramTest, TheKeptBufferHoldsOnlyWhatTheServerNeverEncoded) {
    if (!needsServer())
        GTEST_SKIP() << "no encoder server (capturon) in " << test::RuntimeDir().toStdString();
    // A server slow enough that a backlog takes it seconds: it is frozen for
    // a while, let go, and asked to end while it catches up.
    env.insert("KELBRIN_SERVER_JITTER_MS", "400");
    process.setProcessEnvironment(env);
    const QString freeze = whenRecording("mp3", 3) + "; s=" + serverPid() +
                           "; kill -STOP $s; sleep 20; kill -CONT $s; sleep 0.3; kill -TERM $s";
    ASSERT_TRUE(runOnSessionBus(recordingLine(freeze), 120000)) << stderrText.toStdString();
    EXPECT_EQ(process.exitCode(), 1) << stderrText.toStdString();

    const QStringList mp3s = QDir(records).entryList({"*.mp3"}, QDir::Files);
    ASSERT_EQ(mp3s.size(), 1) << QDir(records).entryList().join(", ").toStdString();
    const QStringList kept = QDir(home + "/buffer").entryList({"Bufor*kept*.tmp"}, QDir::Files);
    ASSERT_EQ(kept.size(), 1) << QDir(home + "/buffer").entryList().join(", ").toStdString();
    EXPECT_TRUE(stderrText.contains("[7350]") && stderrText.contains(home + "/buffer/" + kept[0]))
        << stderrText.toStdString();

    // Exactly the blocks after the last one encoded, and together with the
    // file every captured moment once (within the encoder's last frames).
    const qint64 written = stored("RecSW");
    const qint64 encoded = stored("RecConv");
    ASSERT_GT(written - encoded, 2) << "the server caught up before it was asked to end";
    const qint64 keptBytes = QFileInfo(home + "/buffer/" + kept[0]).size();
    EXPECT_EQ(keptBytes, blockBytes(encoded, written));
    const double captured = blockBytes(0, written) / kPcmBytesPerSecond;
    const double inFile = probe(records + mp3s[0], "format=duration").toDouble();
    EXPECT_NEAR(inFile + keptBytes / kPcmBytesPerSecond, captured, 0.2)
        << inFile << " s encoded, " << keptBytes / kPcmBytesPerSecond << " s kept, of " << captured << " s";
}

class LostRecordingProgramTest : public RecordKeptSoundProgramTest, public ::testing::WithParamInterface<int> {};

TEST_P(LostRecordingProgramTest, ARunEndedByASignalFailsWhenItsRecordingIsLost) {
    if (!needsServer())
        GTEST_SKIP() << "no encoder server (capturon) in " << test::RuntimeDir().toStdString();
    addSettings("RecSpeech=" + QByteArray::number(GetParam()) + "\n");
    // The recorded file goes before the service manager ends the run.
    const QString lose = whenRecording("mp3", 2) + "; rm -f " + quoted(records) + "*.mp3; sleep 3; kill -TERM $k";
    ASSERT_TRUE(runOnSessionBus(recordingLine(lose), 60000)) << stderrText.toStdString();
    EXPECT_TRUE(stderrText.contains("[7390] Asked to end (SIGTERM)")) << stderrText.toStdString();
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 1) << stderrText.toStdString();
}

INSTANTIATE_TEST_SUITE_P(PlainAndSpeechMarks, LostRecordingProgramTest, ::testing::Values(0, 1));

TEST_F(RecordKeptSoundProgramTest, ABufferFolderOpenToOthersIsReplacedForTheRunAndSaysSo) {
    if (!needsServer())
        GTEST_SKIP() << "no encoder server (capturon) in " << test::RuntimeDir().toStdString();
    const QString shared = home + "/shared/";
    ASSERT_TRUE(QDir().mkpath(shared));
    ASSERT_TRUE(QFile::setPermissions(shared, QFileDevice::Permissions(0x7777)));
    const QString confPath = home + "/config/Pelorin/Kelbrin.conf";
    QFile original(confPath);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    QByteArray conf = original.readAll();
    original.close();
    conf.replace("TempRecDir=" + home.toUtf8() + "/buffer/", "TempRecDir=" + shared.toUtf8());
    test::WriteFile(confPath, conf);
    ASSERT_TRUE(runOnSessionBus(recordingLine(whenRecording("mp3", 3) + "; kill -TERM $k"), 60000))
        << stderrText.toStdString();
    EXPECT_EQ(process.exitCode(), 0) << stderrText.toStdString();

    // Said once, naming both folders; the recording went through the user's own one.
    EXPECT_EQ(stderrText.count("[7470]"), 1) << stderrText.toStdString();
    EXPECT_TRUE(stderrText.contains(shared) && stderrText.contains(home + "/runtime/kelbrin/"))
        << stderrText.toStdString();
    EXPECT_TRUE(QDir(shared).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(QDir(records).entryList({"*.mp3"}, QDir::Files).size(), 1);
    // The setting is the user's, as it was.
    EXPECT_EQ(QSettings(confPath, QSettings::IniFormat).value("Kelbrin/TempRecDir").toString().toStdString(),
              shared.toStdString());
}

} // namespace
