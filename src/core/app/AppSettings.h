#pragma once
// Seeds missing settings on start and loads the values derived from them into
// the loaded settings and the recording configuration.

#include "platform/shell/DesktopIntegration.h"

#include <QString>

namespace kelbrin {

struct LoadedSettings;
struct RecordingConfiguration;
class SystemFolders;

struct LoadSettingsEnvironment {
    QString programFolder;   // with a trailing '/'
    QString programFile;     // full path of the running program
    QString tempFolder;      // system temporary folder, with a trailing '/'
    QString mediaFolder;     // the user's music (or home) folder, no trailing '/'
    QString formatFile;      // formatex.ini: the chosen codec format
    // The launcher and the file types, written on the first run (none: skipped).
    DesktopIntegration* desktop = nullptr;
};

// The environment of the running program on these system folders.
LoadSettingsEnvironment DefaultLoadSettingsEnvironment(const SystemFolders& system);

// The folder defaults that stand in for the system drive: `DefaultFolderRoot`
// ends with '/', `DefaultFolder` does not (the destination folder is kept
// without, the source folder with a trailing separator).
QString DefaultFolderRoot(const LoadSettingsEnvironment& env);
QString DefaultFolder(const LoadSettingsEnvironment& env);

// Set once the launcher and the file types were really written; their
// first-run step is not repeated after that.
constexpr const char* kDesktopIntegrationKey = "DesktopIntegration";

// Fills the editor's values and the recording's folders, capture device and
// format from the settings, seeding those still missing.
void LoadSettings(LoadedSettings& settings, RecordingConfiguration& recording, const LoadSettingsEnvironment& env);
void LoadSettings(LoadedSettings& settings, RecordingConfiguration& recording);

// Control ranges that stored values are clamped to on load.
constexpr int kMouseSensMin = 100;
constexpr int kMouseSensMax = 600;

} // namespace kelbrin
