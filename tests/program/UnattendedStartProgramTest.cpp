// How the real editor starts when nobody watches it (cron, a systemd user
// service): it never waits for an answer nobody can give, it never aborts for
// want of a display, and a recording it cannot make ends with a status a
// scheduler can see. These runs reach no encoder server, so "-rec" ends at
// once with its no-server status once start-up is through. The encoder server
// too starts where no display answers.
#include "support/TestEnvironment.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

#include "ProgramHome.h"

using namespace kelbrin;

namespace {

class UnattendedStartProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        home = test::MakeTempDir("unattended-home");
        env = test::ProgramHome(home, {"config/Pelorin", "records"});
        writeSettings("");
        env.insert("KELBRIN_AUTO_ANSWER", "yes");
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
    }
    void TearDown() override {
        for (QProcess* p : {&process, &first}) {
            p->kill();
            p->waitForFinished(5000);
        }
    }
    void writeSettings(const QByteArray& more) {
        test::WriteFile(home + "/config/Pelorin/Kelbrin.conf",
                        "[Kelbrin]\nRecDir=" + home.toUtf8() + "/records/\nDesktopIntegration=1\n" + more);
    }
    // Runs the editor with `args`; true when it ended within `ms`.
    bool run(const QStringList& args, int ms = 30000) {
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(home);
        process.start(kelbrin, args);
        if (!process.waitForStarted(5000))
            return false;
        const bool ended = process.waitForFinished(ms);
        stderrText = QString::fromUtf8(process.readAllStandardError());
        return ended;
    }

    QString home, stderrText;
    QProcessEnvironment env;
    QProcess process, first;
    const QString kelbrin = test::RuntimeDir() + "/kelbrin";
};

TEST_F(UnattendedStartProgramTest, ASecondRecordingWhileAnEditorRunsSaysSoAndFails) {
    ASSERT_TRUE(test::StartEditorHoldingTheLock(first, env, home));

    ASSERT_TRUE(run({"-rec", "1"})) << stderrText.toStdString();
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 3) << stderrText.toStdString();
    EXPECT_TRUE(stderrText.contains("[7040] Another copy of the editor is running")) << stderrText.toStdString();
    EXPECT_EQ(first.state(), QProcess::Running); // the running editor is left alone
}

// Fault mended: the refusals of a second start were English whatever
// language the user had chosen.
TEST_F(UnattendedStartProgramTest, ASecondStartRefusesInTheStoredLanguage) {
    writeSettings("Langauge=POLSKI\n");
    ASSERT_TRUE(test::StartEditorHoldingTheLock(first, env, home));

    ASSERT_TRUE(run({"-rec", "1"})) << stderrText.toStdString();
    EXPECT_EQ(process.exitCode(), 3) << stderrText.toStdString();
    EXPECT_TRUE(stderrText.contains("[7040] Działa już inna kopia edytora")) << stderrText.toStdString();

    const QString script = test::WriteFile(home + "/nightly.kbs", "[Source files]\n");
    ASSERT_TRUE(run({script})) << stderrText.toStdString();
    EXPECT_EQ(process.exitCode(), 3) << stderrText.toStdString();
    EXPECT_TRUE(stderrText.contains("[7318] Działa już inna kopia edytora, więc ta nie uruchamia skryptu wsadowego " +
                                    script))
        << stderrText.toStdString();
    EXPECT_EQ(first.state(), QProcess::Running);
}

TEST_F(UnattendedStartProgramTest, AnUnknownSavedLanguageFallsBackToEnglishAndGoesOn) {
    writeSettings("Langauge=KLINGON\n");
    ASSERT_TRUE(run({"-rec", "1"})) << "waits for the language dialog\n" << stderrText.toStdString();
    EXPECT_EQ(process.exitCode(), 2) << stderrText.toStdString();
    EXPECT_TRUE(stderrText.contains("[7041] The saved language \"KLINGON\"")) << stderrText.toStdString();
    EXPECT_TRUE(stderrText.contains("[6700] The encoder server")) << stderrText.toStdString();
    // The choice stays for the next run somebody watches.
    QFile settings(home + "/config/Pelorin/Kelbrin.conf");
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    EXPECT_TRUE(settings.readAll().contains("Langauge=KLINGON"));
}

TEST_F(UnattendedStartProgramTest, ADamagedSettingsFileIsSaidToBeDamagedNotUnwritable) {
    writeSettings("Language=1\n[Broken\nMarker=kept\n");
    ASSERT_TRUE(run({"-rec", "1"})) << stderrText.toStdString();
    EXPECT_TRUE(stderrText.contains("[7450] The settings file " + home + "/config/Pelorin/Kelbrin.conf was damaged"))
        << stderrText.toStdString();
    EXPECT_FALSE(stderrText.contains("[7100]")) << stderrText.toStdString();
    // Read, and written back with what it held.
    QFile settings(home + "/config/Pelorin/Kelbrin.conf");
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    const QByteArray written = settings.readAll();
    EXPECT_TRUE(written.contains("Marker=kept")) << written.constData();
    EXPECT_TRUE(written.contains("RecDir=")) << written.constData();
}

TEST_F(UnattendedStartProgramTest, WithoutADisplayTheProgramRunsOffscreenAndSaysSo) {
    env.remove("QT_QPA_PLATFORM");
    // No display at all, and nobody to answer: the boxes still reach standard error.
    env.remove("KELBRIN_AUTO_ANSWER");
    ASSERT_TRUE(run({"-rec", "1"})) << stderrText.toStdString();
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << stderrText.toStdString();
    EXPECT_EQ(process.exitCode(), 2) << stderrText.toStdString();
    EXPECT_TRUE(stderrText.contains("[7042]")) << stderrText.toStdString();
    EXPECT_TRUE(stderrText.contains("[6700]")) << stderrText.toStdString();

    // A display that is named but cannot be reached.
    env.insert("DISPLAY", ":4711");
    env.insert("KELBRIN_AUTO_ANSWER", "yes");
    ASSERT_TRUE(run({"-rec", "1"})) << stderrText.toStdString();
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << stderrText.toStdString();
    EXPECT_EQ(process.exitCode(), 2) << stderrText.toStdString();
    EXPECT_TRUE(stderrText.contains("[7042]")) << stderrText.toStdString();
}

// The bus starts the encoder server with the session's environment, which may
// name a display that no longer answers: the server goes on without windows.
TEST_F(UnattendedStartProgramTest, TheEncoderServerStartsWhenItsDisplayCannotBeReached) {
    env.remove("QT_QPA_PLATFORM");
    env.insert("DISPLAY", ":4711");
    QProcess server;
    server.setProcessEnvironment(env);
    server.start(test::RuntimeDir() + "/capturon", {"/RegServer"});
    ASSERT_TRUE(server.waitForFinished(30000));
    const std::string errors = server.readAllStandardError().toStdString();
    EXPECT_EQ(server.exitStatus(), QProcess::NormalExit) << errors;
    EXPECT_EQ(server.exitCode(), 0) << errors;
    EXPECT_TRUE(QFileInfo::exists(home + "/data/dbus-1/services/org.pelorin.Capturon.service")) << errors;
}

TEST_F(UnattendedStartProgramTest, ATimeLimitThatIsNoNumberOfMinutesIsSaid) {
    for (const QString& limit : {QString("x"), QString("-5")}) {
        ASSERT_TRUE(run({"-rec", limit})) << stderrText.toStdString();
        EXPECT_EQ(process.exitCode(), 2) << stderrText.toStdString(); // no server here
        EXPECT_TRUE(stderrText.contains("[7393] The time limit \"" + limit + "\"")) << stderrText.toStdString();
    }
    // A limit in minutes, with or without the turn-off mark, is no mistake.
    for (const QString& limit : {QString("1.5"), QString("30e")}) {
        ASSERT_TRUE(run({"-rec", limit})) << stderrText.toStdString();
        EXPECT_FALSE(stderrText.contains("[7393]")) << stderrText.toStdString();
    }
}

} // namespace
