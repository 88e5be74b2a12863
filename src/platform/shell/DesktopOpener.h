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
    // Calls `then` from the event loop once every file handed over so far is
    // known to be taken or refused (a refusal's `failed` has run by then),
    // or after `withinMs` at most: a run that ends right after handing a file
    // over still says that nothing could open it.
    virtual void whenSettled(int withinMs, std::function<void()> then);
};

// Starts "xdg-open" on the file without waiting for it.
class XdgDesktopOpener final : public DesktopOpener {
public:
    // How long xdg-open takes at most to find no program: ended later, it
    // ran one.
    static constexpr int kPlayerStartedAfterMs = 5000;

    explicit XdgDesktopOpener(int playerStartedAfterMs = kPlayerStartedAfterMs)
        : m_playerStartedAfterMs(playerStartedAfterMs) {}
    bool openWithDefaultApplication(const QString& path) override;
    // xdg-open says that it found no program for the file only by its own
    // failure statuses. Without a desktop of its own it runs the program it
    // found in the foreground and ends with that program's status, when the
    // program ends: so a status it gives after kPlayerStartedAfterMs, or one
    // that is not its own, tells of a program that ran. It is started
    // detached and outlives the editor, which never waits for it.
    void openOrSayWhy(const QString& path, std::function<void()> failed) override;
    void whenSettled(int withinMs, std::function<void()> then) override;
    int playerStartedAfterMs() const { return m_playerStartedAfterMs; }

    struct Watches; // the xdg-open runs still watched, and who waits for them

private:
    int m_playerStartedAfterMs;
    std::shared_ptr<Watches> m_watches;
};

DesktopOpener& Desktop();
// Replaces the process-wide opener; returns the previous one.
std::unique_ptr<DesktopOpener> SetDesktopOpener(std::unique_ptr<DesktopOpener> opener);

} // namespace kelbrin
