// "kelbrin -rec" the way a scheduled job runs it: unattended, on a private
// session bus, with a test source in place of the sound card. Without an
// encoder server it says so and fails; with one it records for the time
// limit, hands the file over, saves the project and ends by itself.
#include "support/TestEnvironment.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QtEndian>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

#include "RecordProgramFixture.h"
#include "core/document/cPozycjaMP3.h"
#include "core/export/SplitTime.h"
#include "core/project/ProjectFileReader.h"
#include "platform/text/AnsiCodec.h"

using namespace kelbrin;

namespace {

using RecordProgramTest = test::RecordProgramFixture;

TEST_F(RecordProgramTest, WithoutAnEncoderServerAnUnattendedRecordingSaysSoAndFails) {
    // An editor without its server beside it, on a bus that knows no server.
    const QString lonely = test::MakeTempDir("lonely");
    ASSERT_TRUE(QFile::copy(kelbrin, lonely + "/kelbrin"));
    ASSERT_TRUE(QFile::copy(test::RuntimeDir() + "/Kelbrin.ini", lonely + "/Kelbrin.ini"));
    env.insert("XDG_DATA_DIRS", home + "/data");
    process.setProcessEnvironment(env);
    ASSERT_TRUE(runOnSessionBus(quoted(lonely + "/kelbrin") + " -rec 1", 60000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 2);
    EXPECT_TRUE(stderrText.contains("[6700]")) << stderrText.toStdString();
    EXPECT_TRUE(QDir(records).entryList(QDir::Files).isEmpty());
}

TEST_F(RecordProgramTest, AOneMinuteRecordingEndsWithAnMp3AndItsProject) {
    if (!QFileInfo(capturon).isExecutable())
        GTEST_SKIP() << "no encoder server (capturon) in " << test::RuntimeDir().toStdString();
    // The largest buffer the settings take, and a VBR range given upside down.
    addSettings("LameBufLen=32767\nLameABR=1\nLameVBR=1\nLameQualLow=13\nLameQualHigh=0\n");
    QElapsedTimer took;
    took.start();
    ASSERT_TRUE(runOnSessionBus(quoted(capturon) + " /RegServer && " + quoted(kelbrin) + " -rec 1", 240000))
        << stderrText.toStdString();
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0) << stderrText.toStdString();
    EXPECT_GE(took.elapsed(), 59000);

    const QStringList mp3s = QDir(records).entryList({"*.mp3"}, QDir::Files);
    ASSERT_EQ(mp3s.size(), 1) << QDir(records).entryList().join(", ").toStdString();
    const QString mp3 = records + mp3s[0];

    // One minute of 44100 samples a second, to the frame, with no gap or click.
    const QByteArray pcm = decoded(mp3);
    EXPECT_NEAR(pcm.size() / 2, 60 * 44100, 1152);
    EXPECT_LT(largestStep(pcm, 4410), 3300);

    QProcess decode;
    decode.start("mpg123", {"-t", mp3});
    ASSERT_TRUE(decode.waitForFinished(60000));
    EXPECT_EQ(decode.exitCode(), 0);
    const QString decodeLog = QString::fromUtf8(decode.readAllStandardError());
    EXPECT_FALSE(decodeLog.contains("error", Qt::CaseInsensitive)) << decodeLog.toStdString();

    QProcess check;
    check.start("mp3val", {mp3});
    ASSERT_TRUE(check.waitForFinished(30000));
    const QString checkLog = QString::fromUtf8(check.readAllStandardOutput());
    EXPECT_FALSE(checkLog.contains("ERROR")) << checkLog.toStdString();

    QFile kbe(projectPath());
    ASSERT_TRUE(kbe.open(QIODevice::ReadOnly)) << QDir(records).entryList().join(", ").toStdString();
    const QByteArray header = kbe.read(20);
    ASSERT_EQ(header.size(), 20);
    // The recording came back as a track of its own source file.
    EXPECT_EQ(qFromLittleEndian<qint32>(header.constData() + 12), 1);
    EXPECT_EQ(qFromLittleEndian<qint32>(header.constData() + 16), 1);
    EXPECT_TRUE(kbe.readAll().contains(mp3s[0].toUtf8()));
    // The buffer file went with the editor.
    EXPECT_TRUE(QDir(home + "/buffer").entryList(QDir::Files).isEmpty());
}

TEST_F(RecordProgramTest, AOneMinuteImaAdpcmRecordingHoldsOneMinuteAndCountsItsSamples) {
    if (!needsServer())
        GTEST_SKIP() << "no encoder server (capturon) in " << test::RuntimeDir().toStdString();
    useImaAdpcm();
    ASSERT_TRUE(runOnSessionBus(recordingLine(), 240000)) << stderrText.toStdString();
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0) << stderrText.toStdString();

    const QStringList waves = QDir(records).entryList({"*.wav"}, QDir::Files);
    ASSERT_EQ(waves.size(), 1) << QDir(records).entryList().join(", ").toStdString();
    const QString wav = records + waves[0];
    QFile file(wav);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GT(bytes.size(), 12);
    EXPECT_EQ(qFromLittleEndian<quint32>(bytes.constData() + 4) + 8, quint32(bytes.size()));
    qint64 factSamples = -1, dataBytes = -1;
    for (qsizetype at = 12; at + 8 <= bytes.size();) {
        const QByteArray id = bytes.mid(at, 4);
        const quint32 size = qFromLittleEndian<quint32>(bytes.constData() + at + 4);
        if (id == "fact")
            factSamples = qFromLittleEndian<quint32>(bytes.constData() + at + 8);
        else if (id == "data")
            dataBytes = size;
        at += 8 + size + (size & 1);
    }
    // The minute to the sample, in whole blocks, the last one partly filled.
    EXPECT_EQ(factSamples, 60 * 22050);
    ASSERT_EQ(dataBytes % 512, 0);
    const qint64 held = dataBytes / 512 * 1017;
    EXPECT_GE(held, factSamples);
    EXPECT_LT(held - factSamples, 1017);
    EXPECT_NEAR(probe(wav, "format=duration").toDouble(), 60.0, 1017.0 / 22050);
    const QByteArray pcm = decoded(wav);
    EXPECT_EQ(pcm.size() / 2, held);
    EXPECT_LT(largestStep(pcm, 2205), 6600);
}

TEST_F(RecordProgramTest, AnUnattendedRecordingWhoseServerDiesFails) {
    if (!needsServer())
        GTEST_SKIP() << "no encoder server (capturon) in " << test::RuntimeDir().toStdString();
    // The server is killed a few seconds into the recording, as a crash would end it.
    const QString killServer =
        "until ls " + quoted(records) + " | grep -q mp3; do sleep 0.2; done; sleep 2; kill -9 $(dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus "
        "org.freedesktop.DBus.GetConnectionUnixProcessID string:org.pelorin.Capturon | awk '/uint32/ {print $2}')";
    QElapsedTimer took;
    took.start();
    ASSERT_TRUE(runOnSessionBus(recordingLine(killServer), 60000)) << stderrText.toStdString();
    EXPECT_LT(took.elapsed(), 50000); // ended by the failure, not by the time limit
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 1) << stderrText.toStdString();
    EXPECT_TRUE(stderrText.contains("[6702]")) << stderrText.toStdString();

    // What was recorded is kept in the project: the server's file as its
    // source, and a track of the whole of it.
    const QStringList mp3s = QDir(records).entryList({"*.mp3"}, QDir::Files);
    ASSERT_EQ(mp3s.size(), 1) << QDir(records).entryList().join(", ").toStdString();
    const double seconds = probe(records + mp3s[0], "format=duration").toDouble();
    EXPECT_GT(seconds, 1.0);
    const ProjectReadResult saved = ReadProjectFile(projectPath(), AnsiCodec());
    ASSERT_EQ(saved.status, ProjectReadStatus::Ok) << QDir(records).entryList().join(", ").toStdString();
    ASSERT_EQ(saved.contents.sources.size(), 1);
    EXPECT_EQ(saved.contents.sources[0].path, records + mp3s[0]);
    ASSERT_EQ(saved.contents.tracks.size(), 1);
    const cPozycjaMP3& track = *saved.contents.tracks[0].track;
    EXPECT_EQ(saved.contents.tracks[0].sourceId, saved.contents.sources[0].id);
    const double length = track.blnJednostka ? TrackTimeSeconds(EndTime(track)) - TrackTimeSeconds(StartTime(track))
                                             : (track.lngRamkaDo - track.lngRamkaOd + 1) * 1152 / 44100.0;
    EXPECT_NEAR(length, seconds, 0.1);
    // The sound the server had not encoded when it died is kept, and named.
    const QStringList kept = QDir(home + "/buffer").entryList({"Bufor*kept*.tmp"}, QDir::Files);
    ASSERT_EQ(kept.size(), 1) << QDir(home + "/buffer").entryList().join(", ").toStdString();
    EXPECT_GT(QFileInfo(home + "/buffer/" + kept[0]).size(), 0);
    EXPECT_TRUE(stderrText.contains("[7350]")) << stderrText.toStdString();
    EXPECT_TRUE(stderrText.contains(home + "/buffer/" + kept[0])) << stderrText.toStdString();
}

TEST_F(RecordProgramTest, AnUnattendedRecordingWhoseServerStopsAnsweringEndsAndKeepsItsBuffer) {
    if (!needsServer())
        GTEST_SKIP() << "no encoder server (capturon) in " << test::RuntimeDir().toStdString();
    // The server is frozen a few seconds in: it keeps its name on the bus but
    // encodes nothing and answers nothing. Whatever happens, both processes
    // are killed in the end (a stopped server outlives its bus).
    const QString pids = home + "/pids";
    const QString freeze =
        "echo $k > " + quoted(pids) + "; until ls " + quoted(records) + " | grep -q mp3; do sleep 0.2; done; sleep 2; "
        "s=$(dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus "
        "org.freedesktop.DBus.GetConnectionUnixProcessID string:org.pelorin.Capturon | awk '/uint32/ {print $2}'); "
        "echo $s >> " + quoted(pids) + "; kill -STOP $s";
    const QString line = quoted(capturon) + " /RegServer && { " + quoted(kelbrin) + " -rec 1 & k=$!; " + freeze +
                         "; wait $k; r=$?; kill -9 $s; exit $r; }";
    QElapsedTimer took;
    took.start();
    const bool ended = runOnSessionBus(line, 270000);
    if (!ended)
        killListed(pids);
    ASSERT_TRUE(ended) << "still running after " << took.elapsed() / 1000 << " s " << stderrText.toStdString();
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 1) << stderrText.toStdString();
    EXPECT_LT(took.elapsed(), 240000);

    // The sound the server never encoded stays, under a name nothing removes, and the message names it.
    const QStringList kept = QDir(home + "/buffer").entryList({"Bufor*kept*.tmp"}, QDir::Files);
    ASSERT_EQ(kept.size(), 1) << QDir(home + "/buffer").entryList().join(", ").toStdString();
    const QString buffer = home + "/buffer/" + kept[0];
    EXPECT_GT(QFileInfo(buffer).size(), 44100 * 2 * 2) << "less than a second of sound";
    EXPECT_TRUE(stderrText.contains("[6704]")) << stderrText.toStdString();
    EXPECT_TRUE(stderrText.contains(buffer)) << stderrText.toStdString();
}

TEST_F(RecordProgramTest, SoundAKilledEditorLeftUnencodedIsKeptByTheNextRun) {
    if (!needsServer())
        GTEST_SKIP() << "no encoder server (capturon) in " << test::RuntimeDir().toStdString();
    // A server slower than the sound card falls behind; the editor is killed
    // while blocks wait in its buffer file, then a new run records.
    env.insert("KELBRIN_SERVER_JITTER_MS", "4000");
    process.setProcessEnvironment(env);
    const QString conf = quoted(home + "/config/Pelorin/Kelbrin.conf");
    const QString buffer = quoted(home + "/buffer/Bufor-1.tmp");
    const QString behind = "w=$(sed -n 's/^RecSW=//p' " + conf + "); c=$(sed -n 's/^RecConv=//p' " + conf +
                           "); [ \"${w:-0}\" -gt \"$(( ${c:-0} + 1 ))\" ]";
    const QString line =
        quoted(capturon) + " /RegServer && { " + quoted(kelbrin) + " -rec & k=$!; n=0; until " + behind +
        " || [ $n -gt 400 ]; do sleep 0.1; n=$((n+1)); done; kill -KILL $k; wait $k; grep -E '^Rec(SW|Conv)=' " +
        conf + " >&2; stat -c %s " + buffer + " > " + quoted(home + "/left") + "; " + quoted(kelbrin) +
        " -rec & k=$!; until [ $(ls " + quoted(records) + " | grep -c mp3) -ge 2 ]; do sleep 0.2; done; sleep 2; "
        "kill -TERM $k; wait $k; }";
    ASSERT_TRUE(runOnSessionBus(line, 120000)) << stderrText.toStdString();
    EXPECT_EQ(process.exitCode(), 0) << stderrText.toStdString();

    // The next run kept the blocks of the killed editor's buffer that its
    // server never encoded, said so once, and recorded beside it.
    const QStringList kept = QDir(home + "/buffer").entryList({"Bufor-1 kept *.tmp"}, QDir::Files);
    ASSERT_EQ(kept.size(), 1) << stderrText.toStdString();
    QFile leftFile(home + "/left");
    ASSERT_TRUE(leftFile.open(QIODevice::ReadOnly));
    const QString left = QString::fromLatin1(leftFile.readAll()).trimmed();
    EXPECT_GT(left.toLongLong(), 0);
    const qint64 keptBytes = QFileInfo(home + "/buffer/" + kept[0]).size();
    EXPECT_GT(keptBytes, 0);
    EXPECT_LE(keptBytes, left.toLongLong());
    QSettings store(home + "/config/Pelorin/Kelbrin.conf", QSettings::IniFormat);
    const qint64 block = store.value("Kelbrin/RecBlockSize").toLongLong();
    ASSERT_GT(block, 0);
    EXPECT_EQ((left.toLongLong() - keptBytes) % block, 0) << "whole blocks left out, none cut";
    EXPECT_EQ(stderrText.count("[7350]"), 1) << stderrText.toStdString();
    EXPECT_TRUE(stderrText.contains(home + "/buffer/" + kept[0])) << stderrText.toStdString();
    EXPECT_EQ(QDir(home + "/buffer").entryList(QDir::Files).size(), 1);
    EXPECT_EQ(QDir(records).entryList({"*.mp3"}, QDir::Files).size(), 2);
}

TEST_F(RecordProgramTest, ARecordingThatEndsAtOnceSaysItHoldsTooLittleSound) {
    if (!needsServer())
        GTEST_SKIP() << "no encoder server (capturon) in " << test::RuntimeDir().toStdString();
    // The source gives 100 samples and ends: the file holds two frames.
    env.insert("KELBRIN_CAPTURE_SOURCE", "audiotestsrc is-live=true samplesperbuffer=100 num-buffers=1");
    process.setProcessEnvironment(env);
    ASSERT_TRUE(runOnSessionBus(recordingLine(), 60000)) << stderrText.toStdString();
    EXPECT_EQ(process.exitCode(), 1) << stderrText.toStdString(); // nothing handed over
    const QStringList mp3s = QDir(records).entryList({"*.mp3"}, QDir::Files);
    ASSERT_EQ(mp3s.size(), 1) << QDir(records).entryList().join(", ").toStdString();
    EXPECT_TRUE(stderrText.contains("[7410] The recording " + records + mp3s[0])) << stderrText.toStdString();
    EXPECT_FALSE(stderrText.contains("[3026]")) << stderrText.toStdString();
}

TEST_F(RecordProgramTest, ARecordingStoppedByANearlyFullDiskFails) {
    if (!needsServer())
        GTEST_SKIP() << "no encoder server (capturon) in " << test::RuntimeDir().toStdString();
    // The encoder's output folder, then the capture's buffer folder, on a
    // disk smaller than either side keeps free.
    struct Case {
        QString folder;
        const char* notice;
    } cases[] = {{records, "[6651]"}, {home + "/buffer/", "[7046]"}};
    for (const Case& c : cases) {
        if (!runOnSmallDisk(c.folder, recordingLine(), 60000) && mountsRefused)
            GTEST_SKIP() << "this system mounts no tmpfs, not even in a namespace of its own";
        ASSERT_EQ(process.state(), QProcess::NotRunning) << c.notice << stderrText.toStdString();
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 1) << c.notice << stderrText.toStdString();
        EXPECT_TRUE(stderrText.contains(c.notice)) << stderrText.toStdString();
    }
    // With only the buffer folder full, what was recorded is handed over and kept.
    EXPECT_EQ(QDir(records).entryList({"*.mp3"}, QDir::Files).size(), 1);
    EXPECT_EQ(QDir(records).entryList({"*.kbe"}, QDir::Files).size(), 1);
}

// Each case records a minute: apart, they run side by side.
TEST_F(RecordProgramTest, ARecordingWhoseFileIsRemovedBeforeTheHandOverFails) {
    if (!needsServer())
        GTEST_SKIP() << "no encoder server (capturon) in " << test::RuntimeDir().toStdString();
    // The file being recorded is removed a few seconds in: nothing reaches the project.
    ASSERT_TRUE(runOnSessionBus(
        recordingLine("until ls " + quoted(records) + " | grep -q mp3; do sleep 0.2; done; sleep 2; rm " +
                      quoted(records) + "*.mp3"),
        120000))
        << stderrText.toStdString();
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 1) << stderrText.toStdString();
    EXPECT_TRUE(stderrText.contains("[3025]")) << stderrText.toStdString();
}

TEST_F(RecordProgramTest, ARecordingWhoseProjectCannotBeSavedEndsAndFails) {
    if (!needsServer())
        GTEST_SKIP() << "no encoder server (capturon) in " << test::RuntimeDir().toStdString();
    // The recording folder has room for the recording but not for its
    // project: the run says so and ends, keeping the recording.
    const bool ended = runOnSmallDisk(records, recordingLine() + "; s=$?; ls " + quoted(records) + " >&2; exit $s", 120000,
                                      "size=64m,nr_inodes=2");
    if (!ended && mountsRefused)
        GTEST_SKIP() << "this system mounts no tmpfs, not even in a namespace of its own";
    ASSERT_TRUE(ended) << stderrText.toStdString();
    EXPECT_EQ(process.exitCode(), 1) << stderrText.toStdString();
    EXPECT_TRUE(stderrText.contains("[3346]")) << stderrText.toStdString();
    EXPECT_TRUE(stderrText.contains(QRegularExpression("\\.mp3\\n"))) << stderrText.toStdString();
}

TEST_F(RecordProgramTest, ASizeSplitWhoseNextFileCannotBeCreatedSaysWhereAndWhy) {
    if (!needsServer())
        GTEST_SKIP() << "no encoder server (capturon) in " << test::RuntimeDir().toStdString();
    // Room for the first file of a recording split by size, not for the
    // next: every message says which folder and why, none leaves a gap.
    addSettings("NewFileRec=100\n");
    const bool ended = runOnSmallDisk(records, recordingLine(), 120000, "size=64m,nr_inodes=2");
    if (!ended && mountsRefused)
        GTEST_SKIP() << "this system mounts no tmpfs, not even in a namespace of its own";
    ASSERT_TRUE(ended) << stderrText.toStdString();
    EXPECT_EQ(process.exitCode(), 1) << stderrText.toStdString();
    EXPECT_TRUE(stderrText.contains("[6654] No output file could be created in the recording folder " + records.chopped(1) + ": "))
        << stderrText.toStdString();
    EXPECT_FALSE(stderrText.contains("|1")) << stderrText.toStdString();
}

TEST_F(RecordProgramTest, ARecordingFolderThatTakesNoFileSaysWhyAndFails) {
    if (!needsServer())
        GTEST_SKIP() << "no encoder server (capturon) in " << test::RuntimeDir().toStdString();
    // A recording folder on a disk mounted read-only: not even the first file.
    const bool ended = runOnSmallDisk(records, recordingLine(), 120000, "size=1m,ro");
    if (!ended && mountsRefused)
        GTEST_SKIP() << "this system mounts no tmpfs, not even in a namespace of its own";
    ASSERT_TRUE(ended) << stderrText.toStdString();
    EXPECT_EQ(process.exitCode(), 1) << stderrText.toStdString();
    EXPECT_TRUE(stderrText.contains("[6654] No output file could be created in the recording folder " +
                                    records.chopped(1) + ": " + QString::fromLocal8Bit(std::strerror(EROFS))))
        << stderrText.toStdString();
}

TEST_F(RecordProgramTest, ARecordingWhoseBufferCannotBeWrittenStopsAndFails) {
    if (!needsServer())
        GTEST_SKIP() << "no encoder server (capturon) in " << test::RuntimeDir().toStdString();
    // The editor may write no file above 200 KB, so its first block fails;
    // every question is answered No. A run still going after 25 s is ended.
    env.insert("KELBRIN_AUTO_ANSWER", "no");
    process.setProcessEnvironment(env);
    const QString line = quoted(capturon) + " /RegServer && { trap '' XFSZ; ulimit -f 400; exec timeout 25 " +
                         quoted(kelbrin) + " -rec 1; }";
    ASSERT_TRUE(runOnSessionBus(line, 60000)) << stderrText.toStdString();
    EXPECT_EQ(process.exitCode(), 1) << stderrText.toStdString();
    EXPECT_TRUE(stderrText.contains("[6701]")) << stderrText.toStdString();
    EXPECT_FALSE(stderrText.contains("[3180]")) << stderrText.toStdString();
}

TEST_F(RecordProgramTest, AnUnattendedRecordingWhoseCaptureCannotStartFails) {
    if (!needsServer())
        GTEST_SKIP() << "no encoder server (capturon) in " << test::RuntimeDir().toStdString();
    env.insert("KELBRIN_CAPTURE_SOURCE", "nosuchsourceelement");
    process.setProcessEnvironment(env);
    ASSERT_TRUE(runOnSessionBus(recordingLine(), 60000)) << stderrText.toStdString();
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 1) << stderrText.toStdString();
    EXPECT_TRUE(stderrText.contains("[3018]")) << stderrText.toStdString();
    EXPECT_TRUE(QDir(records).entryList(QDir::Files).isEmpty());
}

TEST_F(RecordProgramTest, ARecordingAskedToEndByASignalIsHandedOverAndSaved) {
    if (!needsServer())
        GTEST_SKIP() << "no encoder server (capturon) in " << test::RuntimeDir().toStdString();
    // The buffer folder chosen at an earlier start went with the runtime
    // folder at the last reboot; a service manager stops the job a few seconds in.
    ASSERT_TRUE(QDir(home + "/buffer").removeRecursively());
    QElapsedTimer took;
    took.start();
    ASSERT_TRUE(runOnSessionBus(recordingLine(whenRecording("mp3", 3) + "; kill -TERM $k"), 60000))
        << stderrText.toStdString();
    EXPECT_LT(took.elapsed(), 50000); // ended by the request, not by the time limit
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0) << stderrText.toStdString();
    EXPECT_TRUE(stderrText.contains("[7390] Asked to end (SIGTERM)")) << stderrText.toStdString();

    // Closed as by its close box: the recording is kept as a project in the destination folder.
    const QStringList mp3s = QDir(records).entryList({"*.mp3"}, QDir::Files);
    ASSERT_EQ(mp3s.size(), 1) << QDir(records).entryList().join(", ").toStdString();
    EXPECT_GT(probe(records + mp3s[0], "format=duration").toDouble(), 2.0);
    const ProjectReadResult saved =
        ReadProjectFile(home + "/Record " + QDate::currentDate().toString("MM_dd") + ".kbe", AnsiCodec());
    ASSERT_EQ(saved.status, ProjectReadStatus::Ok) << QDir(home).entryList().join(", ").toStdString();
    ASSERT_EQ(saved.contents.sources.size(), 1);
    EXPECT_EQ(saved.contents.sources[0].path, records + mp3s[0]);
    EXPECT_EQ(saved.contents.tracks.size(), 1u);
    EXPECT_TRUE(QDir(home + "/buffer").entryList(QDir::Files).isEmpty());
}

TEST_F(RecordProgramTest, AServerAskedToEndFinishesItsWaveFileFirst) {
    if (!needsServer())
        GTEST_SKIP() << "no encoder server (capturon) in " << test::RuntimeDir().toStdString();
    // The session ends under the server: its WAVE file must still say how long it is.
    useImaAdpcm();
    const QString stopServer =
        "until [ \"$(cat " + quoted(records) + "*.wav 2>/dev/null | wc -c)\" -gt 8192 ]; do sleep 0.2; done; "
        "kill -TERM $(dbus-send --session --print-reply --dest=org.freedesktop.DBus "
                                  "/org/freedesktop/DBus org.freedesktop.DBus.GetConnectionUnixProcessID "
                                  "string:org.pelorin.Capturon | awk '/uint32/ {print $2}')";
    ASSERT_TRUE(runOnSessionBus(recordingLine(stopServer), 60000)) << stderrText.toStdString();
    EXPECT_EQ(process.exitCode(), 1) << stderrText.toStdString(); // ended early
    EXPECT_TRUE(stderrText.contains("[7391]")) << stderrText.toStdString();

    const QStringList waves = QDir(records).entryList({"*.wav"}, QDir::Files);
    ASSERT_EQ(waves.size(), 1) << QDir(records).entryList().join(", ").toStdString();
    QFile file(records + waves[0]);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GT(bytes.size(), 44);
    EXPECT_EQ(qFromLittleEndian<quint32>(bytes.constData() + 4) + 8, quint32(bytes.size()));
    const qsizetype data = bytes.indexOf("data");
    ASSERT_GT(data, 0);
    EXPECT_EQ(qFromLittleEndian<quint32>(bytes.constData() + data + 4), quint32(bytes.size() - data - 8));
    EXPECT_GT(bytes.size() - data - 8, 512 * 10) << "a few seconds of sound";
}

TEST_F(RecordProgramTest, AWaveFileOfAKilledServerSaysHowLongItIs) {
    if (!needsServer())
        GTEST_SKIP() << "no encoder server (capturon) in " << test::RuntimeDir().toStdString();
    // The server is killed outright a few seconds into a codec recording.
    useImaAdpcm();
    const QString killServer = killServerOnceWaveHolds(40000);
    ASSERT_TRUE(runOnSessionBus(recordingLine(killServer), 60000)) << stderrText.toStdString();
    EXPECT_EQ(process.exitCode(), 1) << stderrText.toStdString();

    // Every sound the server took is in the file, and its sizes say so to a strict reader.
    const QStringList waves = QDir(records).entryList({"*.wav"}, QDir::Files);
    ASSERT_EQ(waves.size(), 1) << QDir(records).entryList().join(", ").toStdString();
    QFile file(records + waves[0]);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const qsizetype data = bytes.indexOf("data");
    ASSERT_GT(data, 0);
    EXPECT_EQ(qFromLittleEndian<quint32>(bytes.constData() + 4) + 8, quint32(bytes.size()));
    EXPECT_EQ(qFromLittleEndian<quint32>(bytes.constData() + data + 4), quint32(bytes.size() - data - 8));
    EXPECT_GT(probe(records + waves[0], "format=duration").toDouble(), 3.0);
    expectUnencodedSoundKept();
}

TEST_F(RecordProgramTest, ARecordingWhoseSessionBusEndsKeepsWhatWasNotEncodedAndSaysWhy) {
    if (!needsServer())
        GTEST_SKIP() << "no encoder server (capturon) in " << test::RuntimeDir().toStdString();
    // The session bus (the parent of the shell is the bus's session runner) ends under both programs.
    ASSERT_TRUE(runOnSessionBus(recordingLine(whenRecording("mp3", 3) + "; pkill -TERM -P $PPID -x dbus-daemon"), 60000))
        << stderrText.toStdString();
    EXPECT_EQ(process.exitCode(), 1) << stderrText.toStdString();
    EXPECT_TRUE(stderrText.contains("[7440]")) << stderrText.toStdString();
    EXPECT_FALSE(stderrText.contains("[6658]")) << stderrText.toStdString();
    EXPECT_EQ(QDir(records).entryList({"*.mp3"}, QDir::Files).size(), 1);
    expectUnencodedSoundKept();
}

TEST_F(RecordProgramTest, AFullRecordingDiskSaysWhichFileEndsEarlyAndKeepsWhatWasNotWritten) {
    if (!needsServer())
        GTEST_SKIP() << "no encoder server (capturon) in " << test::RuntimeDir().toStdString();
    // Another program fills the recording disk to the last byte while the
    // server writes; the buffer's disk keeps its room.
    const QString fill = whenRecording("mp3", 2) + "; dd if=/dev/zero of=" + quoted(records + "fill") +
                         " bs=64k 2>/dev/null; sleep 4; rm " + quoted(records + "fill");
    const bool ended = runOnSmallDisk(records, recordingLine(fill), 60000, "size=16m");
    if (!ended && mountsRefused)
        GTEST_SKIP() << "this system mounts no tmpfs, not even in a namespace of its own";
    ASSERT_TRUE(ended) << stderrText.toStdString();
    EXPECT_EQ(process.exitCode(), 1) << stderrText.toStdString();
    EXPECT_TRUE(stderrText.contains(QRegularExpression(
        "\\[6652\\] [^\\n]*" + QRegularExpression::escape(records) + "R[0-9_]+\\.mp3: " +
        QRegularExpression::escape(QString::fromLocal8Bit(std::strerror(ENOSPC))) +
        "\\. That file ends early, after [0-9]+ s of sound")))
        << stderrText.toStdString();
    expectUnencodedSoundKept();
}

TEST_F(RecordProgramTest, EveryFileOfASplitSpeechMarkRecordingBecomesATrack) {
    if (!needsServer())
        GTEST_SKIP() << "no encoder server (capturon) in " << test::RuntimeDir().toStdString();
    // Ticks three seconds apart: talk that starts in one file and runs on
    // past its end, so later files' lists hold a start or an end alone.
    addSettings("RecSpeech=1\nNewFileRec=150\n");
    env.insert("KELBRIN_CAPTURE_SOURCE", "audiotestsrc is-live=true wave=ticks tick-interval=3000000000 volume=0.8");
    process.setProcessEnvironment(env);
    ASSERT_TRUE(runOnSessionBus(recordingLine(whenRecording("mp3", 28) + "; kill -TERM $k"), 90000))
        << stderrText.toStdString();
    EXPECT_EQ(process.exitCode(), 0) << stderrText.toStdString();

    const QStringList mp3s = QDir(records).entryList({"*.mp3"}, QDir::Files);
    ASSERT_GE(mp3s.size(), 3) << QDir(records).entryList().join(", ").toStdString();
    const ProjectReadResult saved =
        ReadProjectFile(home + "/Record " + QDate::currentDate().toString("MM_dd") + ".kbe", AnsiCodec());
    ASSERT_EQ(saved.status, ProjectReadStatus::Ok) << stderrText.toStdString();
    QSet<QString> withTracks;
    for (const auto& track : saved.contents.tracks)
        for (const auto& source : saved.contents.sources)
            if (source.id == track.sourceId)
                withTracks << source.path;
    for (const QString& mp3 : mp3s)
        EXPECT_TRUE(withTracks.contains(records + mp3)) << mp3.toStdString() << " made no track";
}

TEST_F(RecordProgramTest, ARecordingThatCannotStartSaysWhyOnTheEditorsOwnErrorOutput) {
    if (!needsServer())
        GTEST_SKIP() << "no encoder server (capturon) in " << test::RuntimeDir().toStdString();
    // The server's messages go where the bus sends them; the editor's own
    // error output alone is what a scheduled run keeps.
    const QString editorErrors = home + "/editor.err";
    const QString line = quoted(capturon) + " /RegServer && " + quoted(kelbrin) + " -rec 1 2> " + quoted(editorErrors);
    struct Case {
        QByteArray settings;
        QString said;
    } cases[] = {
        // Each case adds its settings to the ones before it.
        {"RecDir=" + (home + "/file/folder/").toUtf8() + "\n",
         "[6654] No output file could be created in the recording folder " + home + "/file/folder: " +
             QString::fromLocal8Bit(std::strerror(ENOTDIR))},
        {"EngineType=0\n", "[7442] No codec format is chosen for recording (" + home + "/config/Pelorin/formatex.ini"},
    };
    test::WriteFile(home + "/file", "not a folder");
    for (const Case& c : cases) {
        addSettings(c.settings);
        ASSERT_TRUE(runOnSessionBus(line, 60000)) << stderrText.toStdString();
        EXPECT_EQ(process.exitCode(), 1) << c.said.toStdString();
        QFile said(editorErrors);
        ASSERT_TRUE(said.open(QIODevice::ReadOnly));
        EXPECT_TRUE(QString::fromUtf8(said.readAll()).contains(c.said)) << c.said.toStdString();
    }
}


} // namespace
