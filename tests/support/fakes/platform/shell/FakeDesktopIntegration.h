#pragma once
// Records what start-up asked of the desktop; each step can be made to fail.

#include "platform/shell/DesktopIntegration.h"

#include <QStringList>

namespace kelbrin {

class FakeDesktopIntegration final : public DesktopIntegration {
public:
    bool isInstalled() override { return shortcutWritten && typesWritten; }
    bool createDesktopShortcut(const QString& title, const QString& program,
                               const QString& workingFolder) override {
        shortcuts.append(title + QLatin1Char('|') + program + QLatin1Char('|') + workingFolder);
        if (title.isEmpty() || program.isEmpty() || failShortcut)
            return false;
        shortcutWritten = true;
        return true;
    }
    bool registerProjectFileType(const QString& projectType, const QString& scriptType) override {
        registrations.append(projectType + QLatin1Char('|') + scriptType);
        if (failTypes)
            return false;
        typesWritten = true;
        return true;
    }

    QStringList shortcuts;
    QStringList registrations;
    bool failShortcut = false;
    bool failTypes = false;
    bool shortcutWritten = false;
    bool typesWritten = false;
};

} // namespace kelbrin
