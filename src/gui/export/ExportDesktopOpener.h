#pragma once
// The desktop opener of the running editor: the desktop services hand a file
// to the program associated with its type.

#include "platform/shell/DesktopOpener.h"

namespace kelbrin {

class QtDesktopOpener final : public DesktopOpener {
public:
    explicit QtDesktopOpener(int playerStartedAfterMs = XdgDesktopOpener::kPlayerStartedAfterMs)
        : m_xdg(playerStartedAfterMs) {}
    bool openWithDefaultApplication(const QString& path) override;
    // The desktop services cannot tell that no program took the file: the
    // opener they start says so only on its standard error. xdg-open is
    // asked directly and watched instead.
    void openOrSayWhy(const QString& path, std::function<void()> failed) override;

private:
    XdgDesktopOpener m_xdg;
};

// Installs it unless another opener (a test's fake) is already in place; it
// watches xdg-open as the opener it replaces did.
void UseDesktopServicesOpener();

} // namespace kelbrin
