#include "DesktopOpener.h"

#include <QProcess>

namespace kelbrin {

namespace {
std::unique_ptr<DesktopOpener>& current() {
    static std::unique_ptr<DesktopOpener> opener = std::make_unique<XdgDesktopOpener>();
    return opener;
}
} // namespace

bool XdgDesktopOpener::openWithDefaultApplication(const QString& path) {
    return QProcess::startDetached(QStringLiteral("xdg-open"), QStringList{path});
}

DesktopOpener& Desktop() { return *current(); }

std::unique_ptr<DesktopOpener> SetDesktopOpener(std::unique_ptr<DesktopOpener> opener) {
    std::unique_ptr<DesktopOpener> previous = std::move(current());
    current() = opener ? std::move(opener) : std::make_unique<XdgDesktopOpener>();
    return previous;
}

} // namespace kelbrin
