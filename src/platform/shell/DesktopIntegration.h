#pragma once
// The program's place on the desktop: a launcher that starts it and the file
// types it opens (projects ".kbe", batch scripts ".kbs"). Start-up writes
// them on the first run; tests use FakeDesktopIntegration.

#include <QString>

namespace kelbrin {

constexpr const char* kDesktopEntryName = "kelbrin.desktop";
constexpr const char* kProjectMimeType = "application/x-kelbrin-project";
constexpr const char* kScriptMimeType = "application/x-kelbrin-script";

class DesktopIntegration {
public:
    virtual ~DesktopIntegration() = default;
    // True when the launcher and the file types are both in place.
    virtual bool isInstalled() = 0;
    // The launcher named `title` that starts `program` in `workingFolder`, in
    // the applications menu and on the desktop when the user has one. False
    // when the title or the program is empty (nothing is written) or a write failed.
    virtual bool createDesktopShortcut(const QString& title, const QString& program,
                                       const QString& workingFolder) = 0;
    // The two file types, described by `projectType` and `scriptType`, with
    // the launcher as their default handler. False when any step failed.
    virtual bool registerProjectFileType(const QString& projectType, const QString& scriptType) = 0;
};

} // namespace kelbrin
