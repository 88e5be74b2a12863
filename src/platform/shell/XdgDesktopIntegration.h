#pragma once
// The launcher and the file types the freedesktop way: a desktop entry in
// $XDG_DATA_HOME/applications (and a copy on the desktop when the user has a
// desktop folder), the icon in the hicolor theme, a shared-mime-info package
// compiled with update-mime-database, and the editor made the types' default
// handler with xdg-mime.

#include "DesktopIntegration.h"

namespace kelbrin {

struct XdgFolders {
    QString dataHome;  // $XDG_DATA_HOME
    QString desktop;   // the user's desktop folder; used only when it exists
    // The folders of the running session.
    static XdgFolders current();
};

class XdgDesktopIntegration final : public DesktopIntegration {
public:
    explicit XdgDesktopIntegration(XdgFolders folders = XdgFolders::current());

    bool isInstalled() override;
    bool createDesktopShortcut(const QString& title, const QString& program,
                               const QString& workingFolder) override;
    bool registerProjectFileType(const QString& projectType, const QString& scriptType) override;

    QString desktopEntryPath() const;
    QString desktopCopyPath() const;
    QString mimePackagePath() const;
    QString iconPath() const;

private:
    XdgFolders m_folders;
};

} // namespace kelbrin
