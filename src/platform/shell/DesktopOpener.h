#pragma once
// Hands a file to the program the desktop associates with its type (the
// player for a playlist). The windows install an opener over the desktop
// services; without one, xdg-open is asked. Tests install the fake.

#include <QString>
#include <QStringList>
#include <memory>

namespace kelbrin {

class DesktopOpener {
public:
    virtual ~DesktopOpener() = default;
    // True when the desktop took the file.
    virtual bool openWithDefaultApplication(const QString& path) = 0;
};

// Starts "xdg-open" on the file without waiting for it.
class XdgDesktopOpener final : public DesktopOpener {
public:
    bool openWithDefaultApplication(const QString& path) override;
};

DesktopOpener& Desktop();
// Replaces the process-wide opener; returns the previous one.
std::unique_ptr<DesktopOpener> SetDesktopOpener(std::unique_ptr<DesktopOpener> opener);

} // namespace kelbrin
