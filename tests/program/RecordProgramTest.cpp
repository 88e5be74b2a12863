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
#include <QtEndian>
#include <gtest/gtest.h>

#include "ProgramHome.h"

using namespace kelbrin;

namespace {

class RecordProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        home = test::MakeTempDir("rec-home");
        env = test::ProgramHome(home, {"config/Pelorin", "records", "buffer"});
        records = home + "/records/";
        test::WriteFile(home + "/config/Pelorin/Kelbrin.conf",
                        "[Kelbrin]\nRecDir=" + records.toUtf8() + "\nTempRecDir=" + home.toUtf8() +
                            "/buffer/\nDestPath=" + home.toUtf8() + "\nEngineType=1\n");
        env.insert("KELBRIN_AUTO_ANSWER", "yes");
        env.insert("KELBRIN_CAPTURE_SOURCE", "audiotestsrc is-live=true wave=sine freq=440");
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(home);
    }
    void TearDown() override {
        process.kill();
        process.waitForFinished(5000);
    }
    // Runs `command` in a shell inside its own session bus; true when it ended in time.
    bool runOnSessionBus(const QString& command, int ms) {
        process.start("dbus-run-session", {"--", "sh", "-c", command});
        if (!process.waitForStarted(5000))
            return false;
        const bool ended = process.waitForFinished(ms);
        stderrText = QString::fromUtf8(process.readAllStandardError());
        return ended;
    }
    static QString quoted(const QString& path) { return "'" + path + "'"; }
    // A shell line that registers the server and records for up to a minute
    // on the session bus; `meanwhile` runs beside the recording.
    QString recordingLine(const QString& meanwhile = QString()) const {
        const QString record = quoted(kelbrin) + " -rec 1";
        if (meanwhile.isEmpty())
            return quoted(capturon) + " /RegServer && " + record;
        return quoted(capturon) + " /RegServer && { " + record + " & k=$!; " + meanwhile + "; wait $k; }";
    }
    // Runs `line` on a session bus with `folder` on a small tmpfs, in a mount
    // namespace of its own (the mount goes with it); false when it did not
    // end in time or this system allows no such namespace.
    bool runOnSmallDisk(const QString& folder, const QString& line, int ms) {
        const QString inner = test::WriteFile(home + "/on-bus.sh", line.toUtf8());
        const QString outer = test::WriteFile(
            home + "/small-disk.sh",
            ("mount -t tmpfs -o size=2m,mode=0700 tmpfs " + quoted(folder) + " && exec dbus-run-session -- sh " + quoted(inner))
                .toUtf8());
        const QString probe = home + "/probe";
        QDir().mkpath(probe);
        for (const QStringList& unshare : {QStringList{"-m"}, QStringList{"-r", "-m"}}) {
            QProcess check;
            check.start("unshare", unshare + QStringList{"sh", "-c", "mount -t tmpfs -o size=1m tmpfs " + quoted(probe)});
            if (!check.waitForFinished(10000) || check.exitStatus() != QProcess::NormalExit || check.exitCode() != 0)
                continue;
            process.start("unshare", unshare + QStringList{"sh", outer});
            if (!process.waitForStarted(5000))
                return false;
            const bool ended = process.waitForFinished(ms);
            stderrText = QString::fromUtf8(process.readAllStandardError());
            return ended;
        }
        mountsRefused = true;
        return false;
    }
    bool needsServer() const { return QFileInfo(capturon).isExecutable(); }

    QString home, records, stderrText;
    bool mountsRefused = false;
    QProcessEnvironment env;
    QProcess process;
    const QString kelbrin = test::RuntimeDir() + "/kelbrin";
    const QString capturon = test::RuntimeDir() + "/capturon";
};

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

    QProcess probe;
    probe.start("ffprobe", {"-v", "error", "-show_entries", "format=duration", "-of", "csv=p=0", mp3});
    ASSERT_TRUE(probe.waitForFinished(30000));
    const double seconds = QString::fromUtf8(probe.readAllStandardOutput()).trimmed().toDouble();
    EXPECT_NEAR(seconds, 60.0, 2.0);

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

    const QString project = records + "Record " + QDate::currentDate().toString("MM_dd") + ".kbe";
    QFile kbe(project);
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

} // namespace
