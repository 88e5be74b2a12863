#pragma once
// The system's folders that the settings' defaults start from.

#include <QString>

namespace kelbrin {

class SystemFolders {
public:
    virtual ~SystemFolders() = default;
    // The folder for temporary files, with a trailing '/'.
    virtual QString tempFolder() const = 0;
    // The user's music folder, or the home folder when there is none; no trailing '/'.
    virtual QString userMediaFolder() const = 0;
};

// The running system's folders.
const SystemFolders& HostFolders();

} // namespace kelbrin
