#pragma once
// Seeds missing settings on start and loads the shared values derived from them.

#include <QString>

namespace kelbrin {

// First-run desktop integration (desktop entry and the .kbe file type); the
// shell-integration layer provides it.
class FirstRunIntegration {
public:
    virtual ~FirstRunIntegration() = default;
    // A launcher named `title` on the desktop, starting `program` in `workingFolder`.
    virtual void createDesktopShortcut(const QString& title, const QString& program,
                                       const QString& workingFolder) = 0;
    virtual void registerProjectFileType() = 0;
};

struct LoadSettingsEnvironment {
    QString programFolder;   // with a trailing '/'
    QString programFile;     // full path of the running program
    QString tempFolder;      // system temporary folder, with a trailing '/'
    QString mediaFolder;     // the user's music (or home) folder, no trailing '/'
    QString formatFile;      // formatex.ini: the chosen codec format
    FirstRunIntegration* firstRun = nullptr;
};

// The environment of the running program.
LoadSettingsEnvironment DefaultLoadSettingsEnvironment();

// The folder defaults that stand in for the system drive: `DefaultFolderRoot`
// ends with '/', `DefaultFolder` does not (the destination folder is kept
// without, the source folder with a trailing separator).
QString DefaultFolderRoot(const LoadSettingsEnvironment& env);
QString DefaultFolder(const LoadSettingsEnvironment& env);

void LoadSettings(const LoadSettingsEnvironment& env);
void LoadSettings();

// Control ranges that stored values are clamped to on load.
constexpr int kMouseSensMin = 100;
constexpr int kMouseSensMax = 600;

} // namespace kelbrin
