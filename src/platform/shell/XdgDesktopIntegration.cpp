#include "XdgDesktopIntegration.h"

#include "DesktopEntryFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

namespace kelbrin {

namespace {

// The desktop tools finish in well under a second; one that hangs must not
// hold start-up.
constexpr int kToolTimeoutMs = 30000;

bool writeFile(const QString& path, const QByteArray& bytes, QFileDevice::Permissions extra = {}) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return false;
    if (extra)
        return QFile::setPermissions(path, QFile::permissions(path) | extra);
    return true;
}

// True when the tool ran and reported success.
bool runTool(const QString& program, const QStringList& arguments) {
    if (QStandardPaths::findExecutable(program).isEmpty())
        return false;
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForStarted(kToolTimeoutMs))
        return false;
    if (!process.waitForFinished(kToolTimeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        return false;
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace

XdgFolders XdgFolders::current() {
    XdgFolders f;
    f.dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    f.desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    return f;
}

XdgDesktopIntegration::XdgDesktopIntegration(XdgFolders folders) : m_folders(std::move(folders)) {}

QString XdgDesktopIntegration::desktopEntryPath() const {
    return m_folders.dataHome + QStringLiteral("/applications/") + QLatin1String(kDesktopEntryName);
}

QString XdgDesktopIntegration::desktopCopyPath() const {
    return m_folders.desktop + QLatin1Char('/') + QLatin1String(kDesktopEntryName);
}

QString XdgDesktopIntegration::mimePackagePath() const {
    return m_folders.dataHome + QStringLiteral("/mime/packages/kelbrin.xml");
}

QString XdgDesktopIntegration::iconPath() const {
    return m_folders.dataHome + QStringLiteral("/icons/hicolor/scalable/apps/kelbrin.svg");
}

bool XdgDesktopIntegration::isInstalled() {
    return QFileInfo::exists(desktopEntryPath()) && QFileInfo::exists(mimePackagePath());
}

bool XdgDesktopIntegration::createDesktopShortcut(const QString& title, const QString& program,
                                                  const QString& workingFolder) {
    if (title.isEmpty() || program.isEmpty() || m_folders.dataHome.isEmpty())
        return false;
    const QByteArray entry = xdg::DesktopEntryText(title, program, workingFolder).toUtf8();
    bool ok = writeFile(iconPath(), xdg::IconSvg());
    ok = writeFile(desktopEntryPath(), entry) && ok;
    // The home folder itself is no desktop: a launcher there would only clutter it.
    const QString desktop = m_folders.desktop;
    if (!desktop.isEmpty() && QFileInfo(desktop).isDir() &&
        QDir(desktop).canonicalPath() != QDir::home().canonicalPath()) {
        // File managers start a launcher on the desktop only when it is executable.
        ok = writeFile(desktopCopyPath(), entry,
                       QFile::ExeOwner | QFile::ExeUser | QFile::ExeGroup | QFile::ExeOther) &&
             ok;
    }
    return ok;
}

bool XdgDesktopIntegration::registerProjectFileType(const QString& projectType,
                                                    const QString& scriptType) {
    if (m_folders.dataHome.isEmpty())
        return false;
    if (!writeFile(mimePackagePath(), xdg::MimePackageText(projectType, scriptType).toUtf8()))
        return false;
    if (!runTool(QStringLiteral("update-mime-database"), {m_folders.dataHome + QStringLiteral("/mime")}))
        return false;
    // The cache of which launcher opens which type; desktops that read the
    // entries directly do without it.
    runTool(QStringLiteral("update-desktop-database"), {m_folders.dataHome + QStringLiteral("/applications")});
    return runTool(QStringLiteral("xdg-mime"),
                   {QStringLiteral("default"), QLatin1String(kDesktopEntryName),
                    QLatin1String(kProjectMimeType), QLatin1String(kScriptMimeType)});
}

} // namespace kelbrin
