#pragma once
// Test stand-in for the desktop: keeps the files it was asked to open.
#include "platform/shell/DesktopOpener.h"

#include <QStringList>

namespace kelbrin {

// Records the files it was given.
class FakeDesktopOpener final : public DesktopOpener {
public:
    bool openWithDefaultApplication(const QString& path) override {
        opened.append(path);
        return accept;
    }
    QStringList opened;
    bool accept = true;
};

} // namespace kelbrin
