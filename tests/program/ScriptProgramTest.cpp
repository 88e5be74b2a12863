// Runs a batch script the way a user starts one: "kelbrin path/to/script.kbs",
// unattended. The script's exported files appear, and no project is left
// behind; a script with a missing source says so and writes nothing.
#include "support/TestEnvironment.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

#include "ProgramHome.h"

using namespace kelbrin;

namespace {

class ScriptProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        home = test::MakeTempDir("script-home");
        QProcessEnvironment env = test::ProgramHome(home, {"config/Pelorin", "scripts", "out"});
        dest = home + "/out";
        test::WriteFile(home + "/config/Pelorin/Kelbrin.conf",
                        "[Kelbrin]\nDestPath=" + dest.toUtf8() + "\n");
        process.setWorkingDirectory(home);
        env.insert("KELBRIN_AUTO_ANSWER", "yes");
        process.setProcessEnvironment(env);
    }
    void TearDown() override {
        process.kill();
        process.waitForFinished(5000);
    }
    void run(const QString& script) {
        test::WriteFile(home + "/scripts/run.kbs", script.toUtf8());
        process.start(test::RuntimeDir() + "/kelbrin", {"scripts/run.kbs"});
        ASSERT_TRUE(process.waitForStarted(5000));
    }
    // Collects the boxes the program logs until `done` holds or time runs out.
    bool waitFor(const std::function<bool()>& done, int ms) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms && !done()) {
            process.waitForReadyRead(50);
            boxes += QString::fromUtf8(process.readAllStandardError());
        }
        return done();
    }
    QStringList projectFiles() const {
        QStringList found;
        QDirIterator it(home, {"*.kbe"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            found << it.next();
        return found;
    }

    QString home, dest, boxes;
    QProcess process;
};

} // namespace

TEST_F(ScriptProgramTest, AScriptExportsItsTracksAndLeavesNoProject) {
    QFile::copy(test::MediaFile("cbr_noinfo.mp3"), home + "/scripts/beside.mp3");
    run("[Source Files]\r\n\r\n1:" + test::MediaFile("vbr_xing.mp3") +
        "\r\n2:beside.mp3\r\n\r\n"
        "[Destination files]\r\n\r\n1:first.mp3:1:0:2.5\r\n2:second.mp3:0:10:100\r\n");
    const QString first = dest + "/first.mp3";
    const QString second = dest + "/second.mp3";
    ASSERT_TRUE(
        waitFor([&] { return QFileInfo::exists(first) && QFileInfo::exists(second); }, 60000))
        << "boxes: " << boxes.toStdString()
        << "\n(the program runs scripts once frmDazudizi::OtworzPlik hands them to "
           "ProjectCommands)";
    EXPECT_TRUE(boxes.contains("[3148]")) << boxes.toStdString();
    EXPECT_EQ(process.state(), QProcess::Running);

    for (const QString& path : {first, second}) {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::ReadOnly));
        const QByteArray bytes = out.readAll();
        ASSERT_GT(bytes.size(), 128 + 4);
        EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF) << path.toStdString();
        EXPECT_EQ(bytes.mid(bytes.size() - 128, 3), "TAG") << path.toStdString();
    }
    // 90 frames of 128 kbit/s at 44.1 kHz, plus the tag.
    EXPECT_NEAR(QFileInfo(second).size(), 90 * 417.96 + 128, 200);

    QThread::msleep(300);
    EXPECT_TRUE(projectFiles().isEmpty()) << projectFiles().join(' ').toStdString();
    QFile conf(home + "/config/Pelorin/Kelbrin.conf");
    ASSERT_TRUE(conf.open(QIODevice::ReadOnly));
    EXPECT_FALSE(conf.readAll().contains("F1=")); // no recent project
}

TEST_F(ScriptProgramTest, AMissingSourceEndsTheRunWithItsMessageAndWritesNothing) {
    run("[Source Files]\n1:" + test::MediaFile("cbr_noinfo.mp3") +
        "\n2:/nowhere/gone.mp3\n"
        "[Destination Files]\n1:first.mp3:0:1:50\n2:second.mp3:0:1:50\n");
    ASSERT_TRUE(waitFor([&] { return boxes.contains("[3025]"); }, 60000)) << boxes.toStdString();
    EXPECT_TRUE(boxes.contains("/nowhere/gone.mp3"));
    QThread::msleep(500);
    EXPECT_TRUE(QDir(dest).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
    EXPECT_TRUE(projectFiles().isEmpty());
}
