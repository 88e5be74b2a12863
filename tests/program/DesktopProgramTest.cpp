// The editor's first start puts it on the desktop: run as a user would, in a
// private home, and checked with the desktop's own tools.
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

class DesktopProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        home = test::MakeTempDir("desktop-home");
        env = test::ProgramHome(home, {"Desktop"});
        env.remove("XDG_CURRENT_DESKTOP");
        conf = home + "/config/Pelorin/Kelbrin.conf";
        entry = home + "/data/applications/kelbrin.desktop";
    }

    bool marked() const {
        QFile f(conf);
        return f.open(QIODevice::ReadOnly) && f.readAll().contains("DesktopIntegration=1");
    }

    // Starts the editor, waits until it has marked the integration as written
    // (or, when `expectMark` is false, gives it time to start up), and ends it.
    void startOnce(bool expectMark) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(program);
        ASSERT_TRUE(p.waitForStarted(5000));
        QElapsedTimer t;
        t.start();
        if (expectMark) {
            while (t.elapsed() < 30000 && !marked())
                QThread::msleep(50);
            EXPECT_TRUE(marked());
        }
        QThread::msleep(3000); // start-up goes on after the settings
        EXPECT_EQ(p.state(), QProcess::Running) << p.readAllStandardError().constData();
        p.terminate(); // closes as the close box does, and writes what a close writes
        if (!p.waitForFinished(60000)) {
            p.kill();
            p.waitForFinished(2000);
        }
    }

    QString tool(const QString& name, const QStringList& args) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(name, args);
        if (!p.waitForFinished(30000))
            return "(no answer)";
        lastErrors = QString::fromUtf8(p.readAllStandardError());
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    }

    // Every file below the private home with its time and size, but the
    // editor's own settings: what a close stores there depends on how far a
    // start had come when it was ended, which a busy machine decides.
    QMap<QString, QString> snapshot() const {
        QMap<QString, QString> files;
        QDirIterator it(home, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo f(it.next());
            if (f.filePath().startsWith(home + "/runtime") || f.filePath().startsWith(home + "/cache") ||
                f.filePath() == conf)
                continue;
            files.insert(f.filePath(), f.lastModified().toString(Qt::ISODateWithMs) + " " +
                                           QString::number(f.size()));
        }
        return files;
    }

    QString home, conf, entry, lastErrors;
    QProcessEnvironment env;
    const QString program = test::RuntimeDir() + "/kelbrin";
};

} // namespace

TEST_F(DesktopProgramTest, FirstStartPutsTheEditorOnTheDesktopAndASecondWritesNothing) {
    startOnce(true);
    ASSERT_TRUE(QFileInfo::exists(entry));
    EXPECT_TRUE(QFileInfo::exists(home + "/data/mime/packages/kelbrin.xml"));
    EXPECT_TRUE(QFileInfo::exists(home + "/data/icons/hicolor/scalable/apps/kelbrin.svg"));
    EXPECT_TRUE(QFileInfo(home + "/Desktop/kelbrin.desktop").isExecutable());
    EXPECT_EQ(tool("desktop-file-validate", {entry}), "") << lastErrors.toStdString();
    EXPECT_EQ(lastErrors, "");

    const QString project = test::WriteFile(home + "/Music/Live set.kbe", QByteArray("\x02\x00set", 5));
    EXPECT_EQ(tool("xdg-mime", {"query", "filetype", project}).toStdString(), "application/x-kelbrin-project");
    EXPECT_EQ(tool("xdg-mime", {"query", "default", "application/x-kelbrin-project"}).toStdString(),
              "kelbrin.desktop");

    QThread::msleep(20); // a rewrite would show in the times
    const auto before = snapshot();
    startOnce(false);
    const auto after = snapshot();
    for (auto it = after.cbegin(); it != after.cend(); ++it)
        EXPECT_EQ(it.value(), before.value(it.key())) << it.key().toStdString();
    EXPECT_EQ(after.keys(), before.keys());
}

TEST_F(DesktopProgramTest, EarlierUsersGetTheLauncherOnceOnTheirNextStart) {
    // Settings of a start before the editor wrote its launcher: SPath is set.
    test::WriteFile(conf, "[General]\nTempRecDir=/tmp/\nExactSave=1\nRecBufor=500\nS_Buf=100000\n"
                          "EngineType=1\nDestPath=/tmp\nRecDir=/tmp/\nViewNode=1\nSPath=/tmp/\n"
                          "OverTake=150\n");
    startOnce(true);
    ASSERT_TRUE(QFileInfo::exists(entry));
    EXPECT_EQ(tool("xdg-mime", {"query", "default", "application/x-kelbrin-project"}), "kelbrin.desktop");

    // Once: a launcher the user removed stays removed.
    ASSERT_TRUE(QFile::remove(entry));
    ASSERT_TRUE(QFile::remove(home + "/Desktop/kelbrin.desktop"));
    startOnce(false);
    EXPECT_FALSE(QFileInfo::exists(entry));
    EXPECT_FALSE(QFileInfo::exists(home + "/Desktop/kelbrin.desktop"));
}
