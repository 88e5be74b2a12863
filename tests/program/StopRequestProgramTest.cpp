// The editor as a service manager and a batch job run it: unattended, no
// dialog waits for an answer nobody gives; asked twice to end, it ends even
// with a box open; a player it starts for a playlist outlives it.
#include "ProgramRun.h"

#include <QDir>
#include <QFileInfo>
#include <QtEndian>

using namespace kelbrin;

namespace {

class StopRequestProgramTest : public test::ProgramRunTest {
protected:
    // A project of one source that is gone, as the given version writes it.
    QString projectOfAMissingSource(int version) {
        QByteArray b;
        const auto put = [&b](auto v) {
            char raw[sizeof v];
            qToLittleEndian(v, raw);
            b.append(raw, sizeof v);
        };
        const auto i32 = [&put](qint32 v) { put(v); };
        const auto i16 = [&put](qint16 v) { put(v); };
        const auto f64 = [&put](double v) { put(v); };
        i32(version);
        f64(40000);
        for (const qint32 v : {0, 1, 0, 2, 2, 0, 1, 0, 0, 0, 0})
            i32(v);
        const QByteArray path = "/nonexistent/dir/x.mp3";
        i16(static_cast<qint16>(path.size()));
        b.append(path);
        i16(0);  // not VBR
        i16(1);  // its id
        f64(10); // its length
        if (version >= 1003)
            i16(0); // saved with the project
        return test::WriteFile(home + QStringLiteral("/v%1.kbe").arg(version), b);
    }
    // A batch script that writes a playlist, with `opener` as the body of xdg-open.
    QString playlistScript(const QByteArray& opener) {
        const QString bin = test::MakeTempDir("opener-bin");
        test::WriteFile(bin + "/xdg-open", "#!/bin/sh\n" + opener);
        QFile::setPermissions(bin + "/xdg-open", QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        env.insert("PATH", bin + ":" + env.value("PATH"));
        env.insert("KELBRIN_AUTO_ANSWER", "yes");
        dest = home + "/out";
        QDir().mkpath(dest);
        QDir().mkpath(home + "/config/Pelorin");
        test::WriteFile(conf, "[Kelbrin]\nDestPath=" + dest.toUtf8() + "\nExtPlayer=1\nDesktopIntegration=1\n");
        return test::WriteFile(home + "/run.kbs", "[Source Files]\n1:" + test::MediaFile("cbr_noinfo.mp3").toUtf8() +
                                                      "\n\n[Destination files]\n1:one.mp3:1:0:2\n");
    }
    QString dest;
    // Asks the editor to end, and gives it `ms` to do so.
    static bool endsOn(QProcess* editor, int signalNumber, int ms) {
        ::kill(static_cast<pid_t>(editor->processId()), signalNumber);
        return editor->waitForFinished(ms);
    }
};

} // namespace

TEST_F(StopRequestProgramTest, UnattendedAMissingSourcesDialogsAreCancelledAndASignalEndsTheRun) {
    struct Case {
        int version;
        const char* answer;
        QByteArray said; // what the dialog asked, on standard error
    };
    for (const Case& c : {Case{1006, "no", "[3111] Where is the file x.mp3?"},
                          Case{1006, "cancel", "[3111] Where is the file x.mp3?"},
                          Case{1002, "yes", "[7465] The dialog \"Where is the file x.mp3?"}}) {
        const std::string name = std::to_string(c.version) + " " + c.answer;
        env.insert("KELBRIN_AUTO_ANSWER", c.answer);
        QProcess* editor = start(program, {projectOfAMissingSource(c.version)});
        QByteArray said;
        ASSERT_TRUE(waitToSay(editor, said, c.said, 60000)) << name << "\n" << said.toStdString();
        // A file or folder dialog waiting unseen would hold the close for ever.
        ASSERT_TRUE(endsOn(editor, SIGTERM, 15000)) << name << "\n" << said.toStdString();
        said += editor->readAllStandardError();
        EXPECT_EQ(editor->exitStatus(), QProcess::NormalExit) << name;
        EXPECT_EQ(editor->exitCode(), 0) << name << "\n" << said.toStdString();
        EXPECT_TRUE(said.contains("[7390]")) << name << "\n" << said.toStdString();
        EXPECT_TRUE(read(conf).contains("Width=")) << name << ": the close stores the window's placement";
    }
}

TEST_F(StopRequestProgramTest, ASecondRequestToEndAnswersTheOpenDialogsAndTheCloseGoesOn) {
    // Somebody's desktop, left with a dialog open: the first request lets
    // the dialog finish, as the close box would.
    for (const int again : {SIGTERM, SIGHUP, SIGINT}) {
        QFile::remove(conf);
        QProcess* editor = start(program, {projectOfAMissingSource(1006)});
        ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(conf); }, 30000));
        QThread::msleep(1500); // the folder dialog opens with the project
        ASSERT_FALSE(endsOn(editor, SIGTERM, 2000)) << "waits for the open dialog";
        // Asked again: the folder dialog and the question after it are
        // answered with their Cancel, and the close stores what it stores.
        ASSERT_TRUE(endsOn(editor, again, 15000)) << again;
        const QByteArray said = editor->readAllStandardError();
        EXPECT_EQ(editor->exitStatus(), QProcess::NormalExit) << again;
        EXPECT_EQ(editor->exitCode(), 0) << again << "\n" << said.toStdString();
        EXPECT_TRUE(said.contains("[7467] Asked again to end")) << said.toStdString();
        EXPECT_TRUE(said.contains("[3101]")) << "the question after the dialog\n" << said.toStdString();
        EXPECT_TRUE(read(conf).contains("Width=")) << again;
    }
}

// xdg-open runs the player it finds in the foreground where no desktop of its
// own answers, and ends when the player does, with the player's status.
TEST_F(StopRequestProgramTest, APlaylistsPlayerOutlivesABatchRunAndIsNoFailure) {
    const QString pidFile = home + "/player.pid";
    QProcess* editor = start(program, {playlistScript("echo $$ > \"" + pidFile.toUtf8() + "\"\nsleep 30\nexit 1\n")});
    ASSERT_TRUE(editor->waitForFinished(60000));
    const QByteArray said = editor->readAllStandardError();
    EXPECT_EQ(editor->exitCode(), 0) << said.toStdString();
    EXPECT_TRUE(QFileInfo::exists(dest + "/kelbrin.m3u")) << said.toStdString();
    ASSERT_TRUE(waitFor([&] { return !read(pidFile).isEmpty(); }, 10000)) << said.toStdString();
    const pid_t player = static_cast<pid_t>(read(pidFile).trimmed().toLongLong());
    // The batch run ended; the player it started plays on, unharmed and unreported.
    EXPECT_EQ(::kill(player, 0), 0) << "the player was ended with the editor";
    EXPECT_FALSE(said.contains("[7443]")) << said.toStdString();
    EXPECT_FALSE(said.contains("QProcess")) << said.toStdString();
    // The player runs in the session the editor made for it; a player already
    // gone leaves no such group to end (getpgid gives -1 then).
    const pid_t group = ::getpgid(player);
    if (group > 1 && group == ::getsid(player) && group != ::getpgrp())
        ::kill(-group, SIGKILL);
}

// The run ends right after handing the playlist over; an opener that finds
// no player fails a few milliseconds later, and the run still says so.
TEST_F(StopRequestProgramTest, ABatchRunSaysThatAPlaylistsOpenerFailedAtOnce) {
    QProcess* editor = start(program, {playlistScript("exit 3\n")});
    ASSERT_TRUE(editor->waitForFinished(60000));
    const QByteArray said = editor->readAllStandardError();
    EXPECT_TRUE(said.contains("[7443]")) << said.toStdString();
    // The playlist and the track were written: the export did its job.
    EXPECT_EQ(editor->exitCode(), 0) << said.toStdString();
    EXPECT_TRUE(QFileInfo::exists(dest + "/kelbrin.m3u")) << said.toStdString();
}
