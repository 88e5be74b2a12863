#include "DesktopOpener.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTimer>
#include <memory>
#include <utility>

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

void DesktopOpener::openOrSayWhy(const QString& path, std::function<void()> failed) {
    if (!openWithDefaultApplication(path) && failed)
        QTimer::singleShot(0, QCoreApplication::instance(), std::move(failed));
}

void XdgDesktopOpener::openOrSayWhy(const QString& path, std::function<void()> failed) {
    // Owned by the application: one still running when the editor ends goes with it.
    auto* opener = new QProcess(QCoreApplication::instance());
    opener->setProcessChannelMode(QProcess::ForwardedChannels); // what it says goes where the editor's output goes
    // Each signal is handled once: a process that fails to start may still
    // report its end.
    auto report = std::make_shared<std::function<void()>>(std::move(failed));
    const auto fail = [opener, report] {
        if (*report)
            QTimer::singleShot(0, QCoreApplication::instance(), std::exchange(*report, {}));
        opener->deleteLater();
    };
    QObject::connect(opener, &QProcess::errorOccurred, opener, [fail](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            fail();
    });
    QObject::connect(opener, &QProcess::finished, opener,
                     [opener, fail](int code, QProcess::ExitStatus status) {
                         if (status != QProcess::NormalExit || code != 0)
                             fail();
                         else
                             opener->deleteLater();
                     });
    opener->start(QStringLiteral("xdg-open"), QStringList{path});
}

DesktopOpener& Desktop() { return *current(); }

std::unique_ptr<DesktopOpener> SetDesktopOpener(std::unique_ptr<DesktopOpener> opener) {
    std::unique_ptr<DesktopOpener> previous = std::move(current());
    current() = opener ? std::move(opener) : std::make_unique<XdgDesktopOpener>();
    return previous;
}

} // namespace kelbrin
