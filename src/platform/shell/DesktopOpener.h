#pragma once
// Hands a file to the program the desktop associates with its type (the
// player for a playlist). The windows install an opener over the desktop
// services; without one, xdg-open is asked. Tests install the fake.

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace kelbrin {

class DesktopOpener {
public:
    virtual ~DesktopOpener() = default;
    // True when the desktop took the file.
    virtual bool openWithDefaultApplication(const QString& path) = 0;
    // The same for a file the user expects a program to open, without
    // waiting for it: `failed` runs later, from the event loop, when no
    // program could be started for it. This one knows only the refusals that
    // openWithDefaultApplication reports.
    virtual void openOrSayWhy(const QString& path, std::function<void()> failed);
};

// Starts "xdg-open" on the file without waiting for it.
class XdgDesktopOpener final : public DesktopOpener {
public:
    bool openWithDefaultApplication(const QString& path) override;
    // xdg-open found no program for the file when it cannot be started or
    // ends with an error: it says so only on its standard error. It ends
    // when the program it started ends; the editor does not wait for that.
    void openOrSayWhy(const QString& path, std::function<void()> failed) override;
};

DesktopOpener& Desktop();
// Replaces the process-wide opener; returns the previous one.
std::unique_ptr<DesktopOpener> SetDesktopOpener(std::unique_ptr<DesktopOpener> opener);

} // namespace kelbrin
