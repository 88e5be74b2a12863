#include "ExportDesktopOpener.h"

#include <QDesktopServices>
#include <QUrl>

namespace kelbrin {

bool QtDesktopOpener::openWithDefaultApplication(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void QtDesktopOpener::openOrSayWhy(const QString& path, std::function<void()> failed) {
    m_xdg.openOrSayWhy(path, std::move(failed));
}

void UseDesktopServicesOpener() {
    if (const auto* xdg = dynamic_cast<XdgDesktopOpener*>(&Desktop()))
        SetDesktopOpener(std::make_unique<QtDesktopOpener>(xdg->playerStartedAfterMs()));
}

} // namespace kelbrin
