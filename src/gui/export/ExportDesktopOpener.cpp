#include "ExportDesktopOpener.h"

#include <QDesktopServices>
#include <QUrl>

namespace kelbrin {

bool QtDesktopOpener::openWithDefaultApplication(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void UseDesktopServicesOpener() {
    if (dynamic_cast<XdgDesktopOpener*>(&Desktop()))
        SetDesktopOpener(std::make_unique<QtDesktopOpener>());
}

} // namespace kelbrin
