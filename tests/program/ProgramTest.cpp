// Starts the built editor as a separate process, offscreen, with its own
// settings folder, and checks what a user would see of its start-up.
#include "support/TestEnvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>
#include <csignal>

#include "ProgramRun.h"
#include "core/project/ProjectFileWriter.h"
#include "core/project/ProjectRecords.h"
#include "core/document/cPozycjeMP3.h"
#include "core/document/cPozycjePlikow.h"
#include "platform/text/AnsiCodec.h"

using namespace kelbrin;

namespace {

using ProgramTest = test::ProgramRunTest;
using ProjectTreeProgramTest = ProgramTest;

} // namespace

TEST_F(ProgramTest, FirstStartWritesTheSettingsAtOnceAndASecondStartChangesNothing) {
    QProcess* first = start(program);
    ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(conf); }, 30000));
    QThread::msleep(1000);
    const QByteArray written = read(conf);
    for (const char* key : {"TempRecDir=", "ExactSave=1", "RecBufor=500", "S_Buf=100000",
                            "EngineType=1", "DestPath=", "RecDir=", "ViewNode=1", "SPath=",
                            "OverTake=150"})
        EXPECT_TRUE(written.contains(key)) << key << "\n" << written.constData();
    EXPECT_FALSE(written.contains("DeviceIn"));
    EXPECT_FALSE(written.contains("Langauge"));
    const QDateTime stamp = QFileInfo(conf).lastModified();

    // A second editor while the first runs: leaves at once, silently.
    QProcess* second = start(program);
    ASSERT_TRUE(second->waitForFinished(30000));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_TRUE(second->readAllStandardError().isEmpty());
    EXPECT_EQ(first->state(), QProcess::Running);

    // Killed: a close would store the window's placement.
    first->kill();
    ASSERT_TRUE(first->waitForFinished(30000));
    QThread::msleep(50);
    EXPECT_EQ(read(conf), written);

    // A later start of its own changes nothing in the file either.
    QProcess* third = start(program);
    QThread::msleep(1500);
    EXPECT_EQ(third->state(), QProcess::Running);
    third->kill();
    third->waitForFinished(5000);
    EXPECT_EQ(read(conf), written);
    EXPECT_EQ(QFileInfo(conf).lastModified(), stamp);
}

TEST_F(ProgramTest, TheEditorStartsWithoutMappingTheRecordingCodecs) {
    QProcess* editor = start(program);
    ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(conf); }, 30000));
    QThread::msleep(500);
    ASSERT_EQ(editor->state(), QProcess::Running);
    const QByteArray maps = read(QStringLiteral("/proc/%1/maps").arg(editor->processId()));
    ASSERT_FALSE(maps.isEmpty());
    EXPECT_TRUE(maps.contains("libQt6Widgets")) << "the window's libraries are there";
    EXPECT_FALSE(maps.contains("libavcodec")) << "loaded only when the recording needs it";
    EXPECT_FALSE(maps.contains("kelbrin-codecs"));
}

TEST_F(ProgramTest, APlainStartLeavesTheDevicesTheServerAndTheNetworkForLater) {
    env.insert("KELBRIN_AUTO_ANSWER", "ok");
    QProcess* editor = start(program);
    ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(conf); }, 30000));
    QThread::msleep(1500);
    ASSERT_EQ(editor->state(), QProcess::Running);
    const QByteArray maps = read(QStringLiteral("/proc/%1/maps").arg(editor->processId()));
    ASSERT_TRUE(maps.contains("libQt6Widgets"));
    // Asking the devices loads the media framework's sound plugins.
    EXPECT_FALSE(maps.contains("/gstreamer-1.0/")) << "the devices are asked when a window shows them";
    // Reaching the server without a bus has it write its registration.
    EXPECT_FALSE(QFileInfo::exists(home + "/data/dbus-1")) << "the server is reached when recording needs it";
    EXPECT_FALSE(editor->readAllStandardError().contains("[3170]"));
    EXPECT_FALSE(maps.contains("libQt6Network")) << "mapped by the first update check";
    EXPECT_FALSE(maps.contains("libgstreamer")) << "mapped by the first playback, duration or capture";
    EXPECT_FALSE(maps.contains("libmp3lame")) << "mapped when a recording or its settings need it";
}

TEST_F(ProgramTest, AKilledEditorDoesNotKeepTheNextOneOut) {
    QProcess* first = start(program);
    ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(conf); }, 30000));
    first->kill();
    ASSERT_TRUE(first->waitForFinished(30000));
    QProcess* next = start(program);
    EXPECT_FALSE(next->waitForFinished(1500)) << "left as if another editor ran";
    // ... and that one still keeps a third one out.
    QProcess* third = start(program);
    ASSERT_TRUE(third->waitForFinished(30000));
    EXPECT_EQ(third->exitCode(), 0);
    EXPECT_EQ(next->state(), QProcess::Running);
}

TEST_F(ProgramTest, ALockThatCannotBeMadeKeepsNoEditorOut) {
    // Something else sits where the lock goes (a read-only or full runtime
    // folder fails the same way): refusing would refuse every start.
    ASSERT_TRUE(QDir().mkpath(home + "/runtime/kelbrin.lock"));
    QProcess* editor = start(program);
    QByteArray said;
    waitFor([&] {
        editor->waitForFinished(100); // lets the process hand over what it wrote
        said += editor->readAllStandardError();
        return said.contains("[7392]") || editor->state() != QProcess::Running;
    }, 30000);
    EXPECT_TRUE(said.contains("[7392]")) << said.constData();
    EXPECT_FALSE(editor->waitForFinished(1000)) << "left as if another editor ran";
    editor->kill();
    editor->waitForFinished(5000);
}

TEST_F(ProgramTest, WithoutTheLanguageFileItSaysSoAndFails) {
    const QString lonely = test::MakeTempDir("lonely");
    ASSERT_TRUE(QFile::copy(program, lonely + "/kelbrin"));
    env.insert("KELBRIN_AUTO_ANSWER", "ok");
    QProcess* p = start(lonely + "/kelbrin");
    ASSERT_TRUE(p->waitForFinished(10000));
    EXPECT_NE(p->exitCode(), 0);
    const QString err = QString::fromUtf8(p->readAllStandardError());
    EXPECT_TRUE(err.contains("File Kelbrin.ini not found!")) << err.toStdString();
    EXPECT_TRUE(err.contains("Brak plik Kelbrin.ini w katalogu aplikacji!")) << err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(conf)); // nothing was saved
}

TEST_F(ProgramTest, AskedToEndByASignalItClosesAsItsWindowWouldAndSaysSo) {
    // A service manager's stop, a closed terminal, Ctrl+C.
    env.insert("KELBRIN_AUTO_ANSWER", "ok");
    for (const auto& [signalNumber, name] : {std::pair{SIGTERM, "SIGTERM"}, {SIGHUP, "SIGHUP"}, {SIGINT, "SIGINT"}}) {
        QFile::remove(conf);
        QProcess* editor = start(program);
        ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(conf); }, 30000));
        QThread::msleep(1000);
        ::kill(static_cast<pid_t>(editor->processId()), signalNumber);
        ASSERT_TRUE(editor->waitForFinished(10000)) << name;
        EXPECT_EQ(editor->exitStatus(), QProcess::NormalExit) << name;
        EXPECT_EQ(editor->exitCode(), 0) << name;
        EXPECT_TRUE(editor->readAllStandardError().contains("[7390] Asked to end (" + QByteArray(name) + ")")) << name;
        // The close stored the window's placement, as the close box does.
        EXPECT_TRUE(read(conf).contains("Width=")) << name;
    }

    // Started through nohup, the editor outlives the terminal it was started from.
    QFile::remove(conf);
    QProcess* editor = start("nohup", {program});
    ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(conf); }, 30000));
    QThread::msleep(1000);
    ::kill(static_cast<pid_t>(editor->processId()), SIGHUP);
    ASSERT_FALSE(editor->waitForFinished(3000)) << editor->readAllStandardError().toStdString();
    ::kill(static_cast<pid_t>(editor->processId()), SIGTERM);
    ASSERT_TRUE(editor->waitForFinished(10000));
    const QByteArray said = editor->readAllStandardError();
    EXPECT_FALSE(said.contains("(SIGHUP)")) << said.toStdString();
    EXPECT_TRUE(said.contains("[7390] Asked to end (SIGTERM)")) << said.toStdString();
}

TEST_F(ProjectTreeProgramTest, AProjectOfTensOfThousandsOfTracksOpensWithoutHoldingTheProgram) {
    // The tree listed each track after looking through every node already
    // listed, and through every track for its successors: an 11 MB project
    // held the window for minutes, deaf even to a request to end.
    cPozycjePlikow files;
    auto file = std::make_shared<cPozycjaPlikow>();
    file->strFileName = test::MediaFile("cbr_noinfo.mp3");
    file->lngNrPozycji = 1;
    files.Add(file);
    cPozycjeMP3 tracks;
    constexpr int kTracks = 60000;
    for (int n = 1; n <= kTracks; ++n) {
        auto t = std::make_shared<cPozycjaMP3>();
        t->lngNrPozycji = n;
        t->strFileNameSource = file->strFileName;
        // The last one's name is refused: its message tells that the tracks are all read.
        t->strFileName = n == kTracks ? QStringLiteral("..") : QString();
        tracks.Add(t);
    }
    ProjectHeader header;
    header.nextTrackNo = kTracks + 1;
    header.nextFileId = 2;
    const QString project =
        test::WriteFile(home + "/big.kbe", *BuildProjectBytes(header, files, tracks, AnsiCodec()));

    env.insert("KELBRIN_AUTO_ANSWER", "no");
    QProcess* editor = start(program, {project});
    QByteArray boxes;
    // A slow machine under the sanitizers needs a minute or more to read it.
    ASSERT_TRUE(waitToSay(editor, boxes, "[3345]", 180000)) << boxes.toStdString();
    // Right after those messages the tree lists the tracks; a request to end
    // is heard once it has: in seconds, where looking through the whole tree
    // for each track took many minutes.
    ::kill(static_cast<pid_t>(editor->processId()), SIGTERM);
    ASSERT_TRUE(editor->waitForFinished(180000)) << boxes.toStdString();
    boxes += editor->readAllStandardError();
    EXPECT_TRUE(boxes.contains("[7390]")) << boxes.toStdString();
}

TEST_F(ProjectTreeProgramTest, AProjectSavedUnderAPolishLocaleFindsItsSourceUnderAnother) {
    // Saved under a Polish locale, the names are in its code page's bytes.
    const QString folder = home + QString::fromUtf8("/Łódź");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString source = folder + QString::fromUtf8("/Dżingiel 1.mp3");
    ASSERT_TRUE(QFile::copy(test::MediaFile("cbr_noinfo.mp3"), source));
    cPozycjePlikow files;
    auto file = std::make_shared<cPozycjaPlikow>();
    file->strFileName = source;
    file->lngNrPozycji = 1;
    files.Add(file);
    cPozycjeMP3 tracks;
    for (int n = 1; n <= 2; ++n) {
        auto t = std::make_shared<cPozycjaMP3>();
        t->lngNrPozycji = n;
        t->strFileNameSource = source;
        // The second's name is refused: its message tells that the load is through.
        t->strFileName = n == 2 ? QStringLiteral("..") : QString();
        tracks.Add(t);
    }
    ProjectHeader header;
    header.nextTrackNo = 3;
    header.nextFileId = 2;
    const AnsiCodec polish(AnsiCodec::codePageForLocale("pl_PL.UTF-8"));
    const QString project =
        test::WriteFile(home + "/pl.kbe", *BuildProjectBytes(header, files, tracks, polish));
    ASSERT_TRUE(read(project).contains(polish.fromUnicode(source)));

    // The locale is read from the environment: none needs to be installed.
    env.insert("KELBRIN_AUTO_ANSWER", "no");
    for (const char* locale : {"pl_PL.UTF-8", "C.UTF-8"}) {
        env.insert("LC_ALL", locale);
        env.insert("LANG", locale);
        QProcess* editor = start(program, {project});
        QByteArray boxes;
        ASSERT_TRUE(waitToSay(editor, boxes, "[3345]", 60000)) << locale << "\n" << boxes.toStdString();
        // No folder to choose, no file to look for: the source was found.
        EXPECT_FALSE(boxes.contains("[3111]")) << locale << "\n" << boxes.toStdString();
        EXPECT_FALSE(boxes.contains("[3101]")) << locale << "\n" << boxes.toStdString();
        ::kill(static_cast<pid_t>(editor->processId()), SIGTERM);
        ASSERT_TRUE(editor->waitForFinished(60000)) << locale;
    }
}
