// Runs a batch script the way a user starts one: "kelbrin path/to/script.kbs",
// unattended. The script's exported files appear, and no project is left
// behind; a script with a missing source says so and writes nothing.
#include "support/TestEnvironment.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>

#include "ProgramHome.h"

using namespace kelbrin;

namespace {

// strace -f splits a call that another thread interrupts into an
// "<unfinished ...>" line and a later "<... name resumed>" line; joins each
// pair back into one line at the place where the call began.
QList<QByteArray> straceCalls(const QByteArray& log) {
    QList<QByteArray> lines;
    QHash<QByteArray, qsizetype> pending; // pid -> its unfinished line
    for (const QByteArray& line : log.split('\n')) {
        const QByteArray pid = line.left(line.indexOf(' '));
        const qsizetype resumed = line.indexOf(" resumed>");
        if (resumed >= 0 && pending.contains(pid)) {
            QByteArray& begun = lines[pending.take(pid)];
            begun.chop(int(qstrlen("<unfinished ...>")));
            begun += line.mid(resumed + qsizetype(qstrlen(" resumed>")));
            continue;
        }
        if (line.endsWith("<unfinished ...>"))
            pending.insert(pid, lines.size());
        lines << line;
    }
    return lines;
}

QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

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
    // The program has ended, or ends within half a minute.
    bool ends() {
        return process.state() == QProcess::NotRunning || process.waitForFinished(30000);
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
    // Nobody is there to close the window: the run ends by itself, and well.
    ASSERT_TRUE(ends()) << boxes.toStdString();
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0) << boxes.toStdString();

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

TEST_F(ScriptProgramTest, AScriptThatIsNotAFileIsSaidNotToExist) {
    // A scheduled run names a script that was moved away, or a folder.
    QDir().mkpath(home + "/scripts/folder.kbs");
    for (const QString& script : {QString("scripts/gone.kbs"), QString("scripts/folder.kbs")}) {
        process.start(test::RuntimeDir() + "/kelbrin", {script});
        ASSERT_TRUE(process.waitForStarted(5000));
        ASSERT_TRUE(waitFor([&] { return boxes.contains("[3025]") && boxes.contains(script); }, 30000))
            << boxes.toStdString();
        // Nothing was exported, and nobody is there to close the window.
        ASSERT_TRUE(ends()) << script.toStdString();
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 1) << script.toStdString();
    }
}

TEST_F(ScriptProgramTest, TheCueSheetOfAPolishExportNamesFilesThatExist) {
    // A Polish system: its code page is Windows-1250, which holds "Łódź",
    // while the file system names every file in UTF-8.
    const QString folder = home + QString::fromUtf8("/Eksport Łódź");
    QDir().mkpath(folder);
    test::WriteFile(home + "/config/Pelorin/Kelbrin.conf",
                    "[Kelbrin]\nDestPath=" + folder.toUtf8() + "\nCreateCue=1\nLangauge=POLSKI\n");
    QProcessEnvironment env = process.processEnvironment();
    env.insert("LANG", "pl_PL.UTF-8");
    process.setProcessEnvironment(env);
    run(QString::fromUtf8("[Source Files]\r\n1:") + test::MediaFile("cbr_noinfo.mp3") +
        QString::fromUtf8("\r\n[Destination files]\r\n1:Żółw.mp3:0:10:60\r\n1:plain.mp3:0:60:100\r\n"));
    const QString cue = folder + "/cdr.cue";
    ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(cue); }, 60000)) << boxes.toStdString();

    QFile sheet(cue);
    ASSERT_TRUE(sheet.open(QIODevice::ReadOnly));
    const QByteArray text = sheet.readAll();
    int files = 0;
    for (const QByteArray& line : text.split('\n')) {
        if (!line.startsWith("FILE \""))
            continue;
        ++files;
        const QByteArray path = line.mid(6, line.lastIndexOf('"') - 6);
        EXPECT_TRUE(QFileInfo::exists(QFile::decodeName(path))) << path.toHex(' ').toStdString();
    }
    EXPECT_EQ(files, 2) << text.toStdString() << boxes.toStdString();
    EXPECT_TRUE(QFileInfo::exists(folder + QString::fromUtf8("/Żółw.mp3")));
}

TEST_F(ScriptProgramTest, AnExportedFileIsOnTheDiskBeforeItTakesItsName) {
    const QString strace = QStandardPaths::findExecutable("strace");
    if (strace.isEmpty())
        GTEST_SKIP() << "strace is not installed";
    const QString log = home + "/calls.log";
    // synced.mp3 replaces an older file; fresh.mp3 is new.
    test::WriteFile(dest + "/synced.mp3", "an older export");
    test::WriteFile(home + "/scripts/run.kbs",
                    "[Source Files]\r\n1:" + test::MediaFile("cbr_noinfo.mp3").toUtf8() +
                        "\r\n[Destination files]\r\n1:synced.mp3:0:10:60\r\n"
                        "1:fresh.mp3:0:10:60\r\n");
    const QString traced = "trace=?open,openat,fdatasync,fsync,?rename,renameat,renameat2,?link,linkat";
    process.start(strace, {"-f", "-y", "-o", log, "-e", traced, test::RuntimeDir() + "/kelbrin",
                           "scripts/run.kbs"});
    ASSERT_TRUE(process.waitForStarted(5000));
    const QString output = dest + "/fresh.mp3";
    ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(output); }, 60000)) << boxes.toStdString();
    // An unattended script run ends by itself once its files are written, and
    // strace ends with it; every call is then logged whole.
    ASSERT_TRUE(ends()) << boxes.toStdString();

    QFile calls(log);
    ASSERT_TRUE(calls.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = straceCalls(calls.readAll());
    qsizetype synced = -1, renamed = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!lines[i].contains(".synced.mp3.kelbrin-"))
            continue;
        if (synced < 0 && lines[i].contains("fdatasync("))
            synced = i;
        if (renamed < 0 && lines[i].contains("rename") && lines[i].contains("/synced.mp3\""))
            renamed = i;
    }
    ASSERT_GE(renamed, 0) << calls.fileName().toStdString();
    EXPECT_GE(synced, 0) << "the output was never flushed";
    EXPECT_LT(synced, renamed);
    // A new file appears whole under its name at once: no temporary name, no rename.
    QList<QByteArray> fresh;
    for (const QByteArray& line : lines)
        if (line.contains("fresh.mp3"))
            fresh << line;
    ASSERT_EQ(fresh.size(), 1) << QByteArrayList(fresh).join('\n').toStdString();
    EXPECT_TRUE(fresh[0].contains("linkat(") && fresh[0].contains(" = 0"))
        << fresh[0].toStdString();
}

TEST_F(ScriptProgramTest, AnOutputNameTheFolderCannotTakeIsSkippedAndTheRestAreWritten) {
    QDir().mkpath(dest + "/taken");
    const QString tooLong = QString(300, 'x') + ".mp3";
    run("[Source Files]\r\n1:" + test::MediaFile("cbr_noinfo.mp3") +
        "\r\n[Destination files]\r\n1:" + tooLong + ":0:10:60\r\n1:taken:0:10:60\r\n"
        "1:after.mp3:0:10:60\r\n");
    const QString after = dest + "/after.mp3";
    ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(after) || boxes.contains("[3364]"); }, 60000))
        << boxes.toStdString();
    EXPECT_FALSE(boxes.contains("[3364]")) << boxes.toStdString();
    EXPECT_EQ(boxes.count("[3024]"), 2) << boxes.toStdString();
    EXPECT_TRUE(QFileInfo(dest + "/taken").isDir());
    EXPECT_TRUE(QFileInfo::exists(after));
}

TEST_F(ScriptProgramTest, ALineThatCannotBeWrittenAsItAsksSaysSoInsteadOfWritingSomethingElse) {
    const QString source = test::MediaFile("cbr_noinfo.mp3");
    // A negative end would be read as "to the end of the source": the whole
    // script is refused before anything is written.
    run("[Source Files]\n1:" + source + "\n[Destination Files]\n1:fine.mp3:0:10:60\n"
        "1:whole.mp3:0:10:-5\n");
    ASSERT_TRUE(waitFor([&] { return boxes.contains("[7315]") || QFileInfo::exists(dest + "/whole.mp3"); },
                        60000))
        << boxes.toStdString();
    EXPECT_TRUE(boxes.contains("Line 5 ") && boxes.contains("1:whole.mp3:0:10:-5")) << boxes.toStdString();
    QThread::msleep(500);
    EXPECT_TRUE(QDir(dest).entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty());
    process.kill();
    process.waitForFinished(5000);

    // A line naming a source the script does not list, and an output named
    // twice: the one is left out and the other keeps its first track, each
    // with its message, and the rest is written. Ten milliseconds from the
    // start hold no whole frame: no file, and surely not the whole source.
    // The script went through one line end conversion too many: CR CR LF.
    boxes.clear();
    test::WriteFile(home + "/config/Pelorin/Kelbrin.conf",
                    "[Kelbrin]\nDestPath=" + dest.toUtf8() + "\nCreateCue=1\n");
    run(QString("[Source Files]\n1:" + source + "\n[Destination Files]\n9:lost.mp3:0:10:60\n"
                "1:same.mp3:0:10:60\n1:same.mp3:0:100:300\n1:tiny.mp3:1:0:0.01\n1:after.mp3:0:10:60\n")
            .replace("\n", "\r\r\n"));
    const QString cue = dest + "/cdr.cue";
    ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(cue); }, 60000)) << boxes.toStdString();
    EXPECT_TRUE(boxes.contains("[7316]") && boxes.contains("lost.mp3")) << boxes.toStdString();
    EXPECT_TRUE(boxes.contains("[7317]")) << boxes.toStdString();
    EXPECT_FALSE(boxes.contains("[3011]")) << boxes.toStdString(); // no question to replace it
    EXPECT_FALSE(QFileInfo::exists(dest + "/lost.mp3"));
    EXPECT_FALSE(QFileInfo::exists(dest + "/tiny.mp3")) << QFileInfo(dest + "/tiny.mp3").size();
    // 50 frames of 128 kbit/s at 44.1 kHz, plus the tag: the first track.
    EXPECT_NEAR(QFileInfo(dest + "/same.mp3").size(), 50 * 417.96 + 128, 200);
    EXPECT_EQ(QFileInfo(dest + "/after.mp3").size(), QFileInfo(dest + "/same.mp3").size());
    QFile sheet(cue);
    ASSERT_TRUE(sheet.open(QIODevice::ReadOnly));
    const QByteArray text = sheet.readAll();
    EXPECT_EQ(text.count("same.mp3\""), 1) << text.toStdString();
    EXPECT_EQ(text.count("FILE \""), 2) << text.toStdString();
}

TEST_F(ScriptProgramTest, AScriptGivenWhileAnEditorRunsSaysItRanNothingAndFails) {
    QProcess first;
    ASSERT_TRUE(test::StartEditorHoldingTheLock(first, process.processEnvironment(), home));

    // A scheduled export while the editor is open: nothing is exported, so
    // the run must not end as if it had been.
    run("[Source Files]\n1:" + test::MediaFile("cbr_noinfo.mp3") +
        "\n[Destination Files]\n1:first.mp3:0:10:60\n");
    ASSERT_TRUE(process.waitForFinished(30000));
    boxes += QString::fromUtf8(process.readAllStandardError());
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 3) << boxes.toStdString();
    EXPECT_TRUE(boxes.contains("[7318]") && boxes.contains("scripts/run.kbs")) << boxes.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dest + "/first.mp3"));
    EXPECT_EQ(first.state(), QProcess::Running); // the running editor is left alone
    first.kill();
    first.waitForFinished(5000);
}

TEST_F(ScriptProgramTest, AScriptSavedAsUnicodeTextRunsLikeAnyOther) {
    // Text editors save "Unicode" as UTF-16 behind a byte-order mark; read
    // byte by byte, no line of it is "[Source Files]".
    const QString text = QString::fromUtf8("[Source Files]\r\n1:") +
                         test::MediaFile("cbr_noinfo.mp3") +
                         QString::fromUtf8("\r\n[Destination Files]\r\n1:Żółw.mp3:0:10:60\r\n");
    QByteArray bytes("\xFF\xFE");
    bytes.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    test::WriteFile(home + "/scripts/run.kbs", bytes);
    process.start(test::RuntimeDir() + "/kelbrin", {"scripts/run.kbs"});
    ASSERT_TRUE(process.waitForStarted(5000));
    const QString out = dest + QString::fromUtf8("/Żółw.mp3");
    ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(out) || boxes.contains("[3343]"); }, 60000))
        << boxes.toStdString();
    EXPECT_FALSE(boxes.contains("[3343]")) << boxes.toStdString();
    EXPECT_NEAR(QFileInfo(out).size(), 50 * 417.96 + 128, 200);
}

TEST_F(ScriptProgramTest, AScriptEndingInMegabytesOfBareCarriageReturnsStillRuns) {
    // Line ends converted over and over, or a damaged file: each CR of the
    // tail once made the reader look through the rest of the run, so 1 MiB
    // of them held the program for ten minutes before the first track was cut.
    QByteArray script = "[Source Files]\r1:" + test::MediaFile("cbr_noinfo.mp3").toUtf8() +
                        "\r[Destination Files]\r1:tail.mp3:0:10:60";
    script.append(1 << 20, '\r');
    test::WriteFile(home + "/scripts/run.kbs", script);
    process.start(test::RuntimeDir() + "/kelbrin", {"scripts/run.kbs"});
    ASSERT_TRUE(process.waitForStarted(5000));
    ASSERT_TRUE(waitFor([&] { return process.state() == QProcess::NotRunning; }, 60000))
        << boxes.toStdString();
    EXPECT_EQ(process.exitCode(), 0) << boxes.toStdString();
    EXPECT_NEAR(QFileInfo(dest + "/tail.mp3").size(), 50 * 417.96 + 128, 200);
}

TEST_F(ScriptProgramTest, AScriptOnAFullDiskSaysWhyEndsWithAFailureAndLeavesNoHalfFile) {
    // The destination is a small disk of its own, in a mount namespace that
    // goes with the run; what is left on it is listed before it goes.
    const QString listing = home + "/left.txt";
    const QString runner = test::WriteFile(
        home + "/small-disk.sh",
        ("mount -t tmpfs -o size=100k,mode=0700 tmpfs '" + dest + "' && printf 'old' > '" + dest +
         "/kept.mp3' && '" + test::RuntimeDir() + "/kelbrin' scripts/run.kbs; r=$?; ls -A '" + dest +
         "' > '" + listing + "'; cat '" + dest + "/kept.mp3' >> '" + listing + "'; exit $r")
            .toUtf8());
    test::WriteFile(home + "/scripts/run.kbs",
                    "[Source Files]\r\n1:" + test::MediaFile("cbr_noinfo.mp3").toUtf8() +
                        "\r\n[Destination files]\r\n1:small.mp3:0:1:20\r\n1:kept.mp3:0:10:900\r\n");
    for (const QStringList& unshare : {QStringList{"-m"}, QStringList{"-r", "-m"}}) {
        QProcess probe;
        probe.start("unshare", unshare + QStringList{"sh", "-c", "mount -t tmpfs -o size=1m tmpfs '" + home + "/cache'"});
        if (!probe.waitForFinished(10000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0)
            continue;
        process.start("unshare", unshare + QStringList{"sh", runner});
        ASSERT_TRUE(process.waitForStarted(5000));
        ASSERT_TRUE(waitFor([&] { return process.state() == QProcess::NotRunning; }, 90000))
            << boxes.toStdString();
        boxes += QString::fromUtf8(process.readAllStandardError());
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 1) << boxes.toStdString();
        // The full disk is named as the reason, with the file.
        EXPECT_TRUE(boxes.contains("[7405]") && boxes.contains("kept.mp3") &&
                    boxes.contains(QString::fromLocal8Bit(std::strerror(ENOSPC))))
            << boxes.toStdString();
        QFile left(listing);
        ASSERT_TRUE(left.open(QIODevice::ReadOnly));
        // The first track is whole, the old file under the second one's name
        // untouched, and no half-written file is left.
        EXPECT_EQ(left.readAll(), QByteArray("kept.mp3\nsmall.mp3\nold"));
        return;
    }
    GTEST_SKIP() << "this system mounts no tmpfs, not even in a namespace of its own";
}

TEST_F(ScriptProgramTest, AScriptThatLeavesATrackUnwrittenNamesItAndFails) {
    // Three MPEG-1 frames, then MPEG-2 ones: the file's format is that of the
    // frames after the first three, so not one frame of it can be used.
    const QByteArray mpeg1 = QByteArray::fromHex("fffb9064") + QByteArray(413, '\0');
    const QByteArray mpeg2 = QByteArray::fromHex("fff39064") + QByteArray(257, '\0');
    const QString changing = test::WriteFile(home + "/scripts/changing.mp3",
                                             mpeg1.repeated(3) + mpeg2.repeated(40));
    const QString good = test::MediaFile("cbr_noinfo.mp3");
    const auto runToEnd = [&](const QString& script) {
        boxes.clear();
        run(script);
        ASSERT_TRUE(waitFor([&] { return process.state() == QProcess::NotRunning; }, 60000))
            << boxes.toStdString();
        boxes += QString::fromUtf8(process.readAllStandardError());
    };

    runToEnd("[Source Files]\n1:" + changing + "\n2:" + good +
             "\n[Destination Files]\n1:unusable.mp3:1:0:0\n2:written.mp3:0:10:60\n");
    EXPECT_EQ(process.exitCode(), 1) << boxes.toStdString();
    EXPECT_EQ(boxes.count("[6040]"), 1) << boxes.toStdString();
    EXPECT_TRUE(boxes.contains("[7469]") && boxes.contains("(unusable.mp3)")) << boxes.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dest + "/unusable.mp3"));
    EXPECT_TRUE(QFileInfo::exists(dest + "/written.mp3"));

    // A range that ends where it starts writes nothing either.
    runToEnd("[Source Files]\n1:" + good +
             "\n[Destination Files]\n1:empty.mp3:0:100:100\n1:full.mp3:0:10:60\n");
    EXPECT_EQ(process.exitCode(), 1) << boxes.toStdString();
    EXPECT_TRUE(boxes.contains("[7468]") && boxes.contains("(empty.mp3)")) << boxes.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dest + "/empty.mp3"));
    EXPECT_TRUE(QFileInfo::exists(dest + "/full.mp3"));
}

TEST_F(ScriptProgramTest, TheCueSheetAndPlaylistNeverWriteThroughALink) {
    const QString source = home + "/scripts/source.mp3";
    ASSERT_TRUE(QFile::copy(test::MediaFile("cbr_noinfo.mp3"), source));
    const QByteArray sourceBytes = contentsOf(source);
    const QString script = "[Source Files]\n1:source.mp3\n[Destination Files]\n1:piece.mp3:0:10:60\n";
    test::WriteFile(home + "/config/Pelorin/Kelbrin.conf",
                    "[Kelbrin]\nDestPath=" + dest.toUtf8() + "\nCreateCue=1\nExtPlayer=1\n");

    // The CUE sheet's name leads to the export's own source: nothing is written.
    ASSERT_TRUE(QFile::link(source, dest + "/cdr.cue"));
    run(script);
    ASSERT_TRUE(waitFor([&] { return process.state() == QProcess::NotRunning; }, 60000))
        << boxes.toStdString();
    EXPECT_EQ(process.exitCode(), 1) << boxes.toStdString();
    EXPECT_TRUE(boxes.contains("[3362]") && boxes.contains("cdr.cue")) << boxes.toStdString();
    EXPECT_TRUE(contentsOf(source) == sourceBytes) << "the source was written over";

    // Links to another file are replaced by the side files; that file stays.
    const QString other = test::WriteFile(home + "/other.txt", "mine");
    for (const QString name : {"cdr.cue", "kelbrin.m3u"}) {
        QFile::remove(dest + "/" + name);
        ASSERT_TRUE(QFile::link(other, dest + "/" + name));
    }
    boxes.clear();
    run(script);
    ASSERT_TRUE(waitFor([&] { return process.state() == QProcess::NotRunning; }, 60000))
        << boxes.toStdString();
    EXPECT_EQ(contentsOf(other), QByteArray("mine"));
    EXPECT_TRUE(contentsOf(source) == sourceBytes) << "the source was written over";
    for (const QString name : {"cdr.cue", "kelbrin.m3u"}) {
        const QFileInfo side(dest + "/" + name);
        EXPECT_FALSE(side.isSymLink()) << name.toStdString();
        EXPECT_TRUE(contentsOf(side.filePath()).contains("piece.mp3")) << name.toStdString();
    }
}

TEST_F(ScriptProgramTest, AFileListedTwiceIsToldOfOnceAndEachTrackByItsOwnOutput) {
    // 300 frames that can be used, then the format changes.
    const QByteArray mpeg1 = QByteArray::fromHex("fffb9064") + QByteArray(413, '\0');
    const QByteArray mpeg2 = QByteArray::fromHex("fff39064") + QByteArray(257, '\0');
    const QString changing = test::WriteFile(home + "/scripts/changing.mp3",
                                             mpeg1.repeated(300) + mpeg2.repeated(40));
    // Both ranges lie past the usable frames.
    run("[Source Files]\n1:" + changing + "\n2:changing.mp3\n"
        "[Destination Files]\n1:a.mp3:0:5000:6000\n2:b.mp3:0:5000:6000\n");
    ASSERT_TRUE(waitFor([&] { return process.state() == QProcess::NotRunning; }, 60000))
        << boxes.toStdString();
    boxes += QString::fromUtf8(process.readAllStandardError());
    EXPECT_EQ(process.exitCode(), 1) << boxes.toStdString();
    EXPECT_EQ(boxes.count("[6040]"), 1) << boxes.toStdString();
    EXPECT_EQ(boxes.count("[6000]"), 2) << boxes.toStdString();
    EXPECT_TRUE(boxes.contains("\"changing.mp3 (a.mp3)\"") && boxes.contains("\"changing.mp3 (b.mp3)\""))
        << boxes.toStdString();
}

// A service manager's stop reaches an unattended export while it writes: the
// file being written is finished, the rest are named, and the run fails.
TEST_F(ScriptProgramTest, AStopRequestEndsAnExportAfterThePieceBeingWritten) {
    const QString strace = QStandardPaths::findExecutable("strace");
    if (strace.isEmpty())
        GTEST_SKIP() << "strace is not installed";
    QByteArray lines;
    for (int i = 1; i <= 6; ++i)
        lines += "1:p" + QByteArray::number(i) + ".mp3:0:10:60\n";
    test::WriteFile(home + "/scripts/run.kbs", "[Source Files]\n1:" + test::MediaFile("cbr_noinfo.mp3").toUtf8() +
                                                   "\n[Destination Files]\n" + lines);
    // A traced editor leaves the leak checker no way to stop its threads.
    QProcessEnvironment env = process.processEnvironment();
    if (env.contains("ASAN_OPTIONS"))
        env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":detect_leaks=0");
    process.setProcessEnvironment(env);
    // Every new output takes its name a second and a half after its last
    // byte: the request comes while a piece is under way, however fast the disk.
    process.start(strace, {"-f", "-o", "/dev/null", "-e", "trace=linkat", "-e",
                           "inject=linkat:delay_exit=1500000",
                           test::RuntimeDir() + "/kelbrin", "scripts/run.kbs"});
    ASSERT_TRUE(process.waitForStarted(5000));
    ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(dest + "/p1.mp3"); }, 120000)) << boxes.toStdString();
    // The editor is strace's child.
    const QByteArray children = contentsOf(QStringLiteral("/proc/%1/task/%1/children").arg(process.processId()));
    const pid_t editor = static_cast<pid_t>(children.trimmed().split(' ').value(0).toLongLong());
    ASSERT_GT(editor, 1) << children.toStdString();
    ASSERT_EQ(::kill(editor, SIGTERM), 0);
    // Each setting written on the way out takes its delay too.
    ASSERT_TRUE(process.waitForFinished(120000)) << boxes.toStdString();
    boxes += QString::fromUtf8(process.readAllStandardError());

    EXPECT_EQ(process.exitCode(), 1) << boxes.toStdString();
    EXPECT_TRUE(boxes.contains("[7390]")) << boxes.toStdString();
    EXPECT_TRUE(boxes.contains("[7471]") && boxes.contains("(p6.mp3)")) << boxes.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dest + "/p6.mp3"));
    // What was written is whole: 50 frames and the tag.
    for (int i = 1; i <= 6; ++i) {
        const QString path = dest + QStringLiteral("/p%1.mp3").arg(i);
        if (QFileInfo::exists(path))
            EXPECT_NEAR(QFileInfo(path).size(), 50 * 417.96 + 128, 200) << path.toStdString();
        else
            EXPECT_TRUE(boxes.contains(QStringLiteral("(p%1.mp3)").arg(i))) << boxes.toStdString();
    }
    EXPECT_TRUE(QDir(dest).entryList({"*.kelbrin-*"}, QDir::Files | QDir::Hidden).isEmpty());
}
