// The README's roads to the programs: "bash tools/run.sh" builds what it
// starts, and "cmake --install" puts the editor, its server and the bus's
// activation file where the README's scheduled job and the bus look.
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include "ProgramHome.h"

using namespace kelbrin;

namespace {

QString ReadText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QString BuildDir() { return QDir::cleanPath(test::RuntimeDir() + "/.."); }

TEST(InstallProgramTest, TheRunCommandBuildsTheEditorAndItsServer) {
    if (!QFileInfo::exists(BuildDir() + "/build.ninja"))
        GTEST_SKIP() << "the build tree is not a Ninja one";
    const QString runScript = ReadText(KELBRIN_SOURCE_DIR "/tools/run.sh");
    const QRegularExpressionMatch build =
        QRegularExpression("cmake --build build --target ([^\\n]+)").match(runScript);
    ASSERT_TRUE(build.hasMatch()) << runScript.toStdString();
    const QStringList targets = build.captured(1).split(' ', Qt::SkipEmptyParts);

    QProcess ninja;
    ninja.start("ninja", QStringList{"-C", BuildDir(), "-t", "commands"} + targets);
    ASSERT_TRUE(ninja.waitForFinished(60000));
    ASSERT_EQ(ninja.exitCode(), 0) << ninja.readAllStandardError().toStdString();
    const QString commands = QString::fromUtf8(ninja.readAllStandardOutput());
    EXPECT_TRUE(commands.contains("-o bin/kelbrin ")) << build.captured(1).toStdString();
    // An editor without its server cannot record.
    EXPECT_TRUE(commands.contains("-o bin/capturon ")) << build.captured(1).toStdString();
}

TEST(InstallProgramTest, AnInstalledEditorReachesItsInstalledServerWhereTheReadmeSays) {
    const QString home = test::MakeTempDir("install-home");
    const QString prefix = home + "/prefix";
    QProcess install;
    install.start("cmake", {"--install", BuildDir(), "--prefix", prefix});
    ASSERT_TRUE(install.waitForFinished(120000));
    ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().toStdString();

    // The activation file names the server where this install put it.
    const QString service = ReadText(prefix + "/share/dbus-1/services/org.pelorin.Capturon.service");
    EXPECT_TRUE(service.contains("\nExec=" + prefix + "/bin/capturon\n")) << service.toStdString();
    EXPECT_TRUE(QFileInfo(prefix + "/bin/capturon").isExecutable());

    // The README's job runs the editor from the default install.
    const QString readme = ReadText(KELBRIN_SOURCE_DIR "/README.md");
    const QRegularExpressionMatch job = QRegularExpression("ExecStart=(\\S+) -rec").match(readme);
    ASSERT_TRUE(job.hasMatch());
    EXPECT_EQ(job.captured(1).toStdString(), "/usr/local/bin/kelbrin") << "cmake --install puts the editor there by default";

    // Installed, the editor finds its texts, and the bus starts its server
    // from the activation file alone (here the capture then fails at once).
    QProcessEnvironment env = test::ProgramHome(home, {"config/Pelorin"});
    env.insert("XDG_DATA_DIRS", prefix + "/share");
    env.insert("KELBRIN_AUTO_ANSWER", "yes");
    env.insert("KELBRIN_CAPTURE_SOURCE", "nosuchsourceelement");
    test::WriteFile(home + "/config/Pelorin/Kelbrin.conf", "[Kelbrin]\nRecDir=" + home.toUtf8() + "/\n");
    QProcess run;
    run.setProcessEnvironment(env);
    run.setWorkingDirectory(home);
    run.start("dbus-run-session", {"--", prefix + "/bin/kelbrin", "-rec", "1"});
    ASSERT_TRUE(run.waitForFinished(60000));
    const QString said = QString::fromUtf8(run.readAllStandardError());
    EXPECT_EQ(run.exitCode(), 1) << said.toStdString();
    EXPECT_TRUE(said.contains("[3018]")) << said.toStdString();
    EXPECT_FALSE(QFileInfo::exists(home + "/data/dbus-1/services/org.pelorin.Capturon.service"))
        << "the editor had to register the server itself";
}

} // namespace
