// The launcher and the file types written into private XDG folders, checked
// with the desktop's own tools.
#include "platform/shell/DesktopEntryFiles.h"
#include "platform/shell/XdgDesktopIntegration.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

struct ToolResult {
    int code = -1;
    QString out;
};

ToolResult run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000))
        return {};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError()).trimmed()};
}

QString read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

class DesktopIntegrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = test::MakeTempDir("xdg");
        folders.dataHome = root + "/data";
        folders.desktop = root + "/Desktop";
    }
    QString root;
    XdgFolders folders;
};

} // namespace

TEST_F(DesktopIntegrationTest, TheLauncherIsValidEvenForAnAwkwardProgramPath) {
    const QString program = root + "/My \"odd\" $folder\\100%/kelbrin";
    XdgDesktopIntegration desktop(folders);
    EXPECT_FALSE(desktop.isInstalled());
    ASSERT_TRUE(desktop.createDesktopShortcut("MP3 Dravon", program, root + "/My folder"));

    const QString entry = read(desktop.desktopEntryPath());
    const ToolResult check = run("desktop-file-validate", {desktop.desktopEntryPath()});
    EXPECT_EQ(check.code, 0) << check.out.toStdString() << "\n" << entry.toStdString();
    EXPECT_TRUE(check.out.isEmpty()) << check.out.toStdString();
    EXPECT_TRUE(entry.contains("Name=MP3 Dravon\n"));
    EXPECT_TRUE(entry.contains("Exec=\"" + QString(root).replace("\\", "\\\\") +
                               "/My \\\\\"odd\\\\\" \\\\$folder\\\\\\\\100%%/kelbrin\" %f\n"))
        << entry.toStdString();
    EXPECT_TRUE(entry.contains("Path=" + root + "/My folder\n"));
    EXPECT_TRUE(entry.contains("MimeType=application/x-kelbrin-project;application/x-kelbrin-script;"));
    EXPECT_TRUE(QFileInfo(desktop.iconPath()).size() > 0);

    // No desktop folder: no copy there.
    EXPECT_FALSE(QFileInfo::exists(desktop.desktopCopyPath()));
    // Without the file types the integration is not complete.
    EXPECT_FALSE(desktop.isInstalled());
}

TEST_F(DesktopIntegrationTest, ADesktopFolderGetsAnExecutableCopy) {
    QDir().mkpath(folders.desktop);
    XdgDesktopIntegration desktop(folders);
    ASSERT_TRUE(desktop.createDesktopShortcut("Kelbrin ZAZI'za", "/opt/kelbrin/kelbrin", "/opt/kelbrin"));
    const QFileInfo copy(desktop.desktopCopyPath());
    ASSERT_TRUE(copy.exists());
    EXPECT_TRUE(copy.isExecutable());
    EXPECT_EQ(read(copy.filePath()), read(desktop.desktopEntryPath()));
    EXPECT_EQ(run("desktop-file-validate", {copy.filePath()}).code, 0);
}

TEST_F(DesktopIntegrationTest, NothingIsWrittenWithoutATitleOrAProgram) {
    XdgDesktopIntegration desktop(folders);
    EXPECT_FALSE(desktop.createDesktopShortcut("", "/opt/kelbrin/kelbrin", "/opt"));
    EXPECT_FALSE(desktop.createDesktopShortcut("MP3 Dravon", "", "/opt"));
    EXPECT_FALSE(QFileInfo::exists(folders.dataHome));
}

TEST_F(DesktopIntegrationTest, TheFileTypesAreKnownAndTheEditorOpensThem) {
    // The tools the integration runs read the process's own XDG folders.
    folders.dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    XdgDesktopIntegration desktop(folders);
    // The desktop's tools look for the program the launcher starts.
    const QString program = test::WriteFile(root + "/bin/kelbrin", "#!/bin/sh\n");
    QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner);
    ASSERT_TRUE(desktop.createDesktopShortcut("MP3 Dravon", program, root + "/bin"));
    ASSERT_TRUE(desktop.registerProjectFileType("MP3 Dravon <project> & co", "MP3 Dravon batch script"));
    EXPECT_TRUE(desktop.isInstalled());
    EXPECT_TRUE(read(desktop.mimePackagePath()).contains("MP3 Dravon &lt;project&gt; &amp; co"));

    const QString project = test::WriteFile(root + "/My project.kbe", QByteArray("\x01\x02project", 9));
    const QString script = test::WriteFile(root + "/batch.kbs", "[Script]\nline\n");
    EXPECT_EQ(run("xdg-mime", {"query", "filetype", project}).out, "application/x-kelbrin-project");
    EXPECT_EQ(run("xdg-mime", {"query", "filetype", script}).out, "application/x-kelbrin-script");
    EXPECT_EQ(run("xdg-mime", {"query", "default", "application/x-kelbrin-project"}).out,
              "kelbrin.desktop");
    EXPECT_EQ(run("xdg-mime", {"query", "default", "application/x-kelbrin-script"}).out,
              "kelbrin.desktop");
}

TEST(DesktopEntryFiles, ValuesAreEscapedForTheirKeys) {
    EXPECT_EQ(xdg::EscapeValue(" a\\b\nc\td"), "\\sa\\\\b\\nc\\td");
    EXPECT_EQ(xdg::QuoteExecArgument("/a b/`x`"), "\"/a b/\\`x\\`\"");
    EXPECT_EQ(xdg::QuoteExecArgument("/opt/kelbrin-1.0/kelbrin"), "/opt/kelbrin-1.0/kelbrin");
    EXPECT_EQ(xdg::QuoteExecArgument("/opt/100%/kelbrin"), "/opt/100%%/kelbrin");
    // A line break in the title cannot end the Name key.
    const QString entry = xdg::DesktopEntryText("Two\nlines", "/p", "");
    EXPECT_TRUE(entry.contains("Name=Two lines\n"));
    EXPECT_FALSE(entry.contains("Path="));
}
