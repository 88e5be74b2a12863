#include "DesktopOpener.h"

#include "DetachedStart.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTimer>
#include <unistd.h>
#include <memory>
#include <utility>

namespace kelbrin {

namespace {
std::unique_ptr<DesktopOpener>& current() {
    static std::unique_ptr<DesktopOpener> opener = std::make_unique<XdgDesktopOpener>();
    return opener;
}

// xdg-open's own failures: bad arguments, a missing file, no way to open it,
// a tool that failed; and the shell's word that it could not run it at all.
bool noProgramStarted(int status) {
    return (status >= 1 && status <= 4) || status == 126 || status == 127;
}

// From the event loop, never from inside the caller's own call.
void sayLater(std::function<void()> failed) {
    if (failed)
        QTimer::singleShot(0, QCoreApplication::instance(), std::move(failed));
}

} // namespace

bool XdgDesktopOpener::openWithDefaultApplication(const QString& path) {
    return QProcess::startDetached(QStringLiteral("xdg-open"), QStringList{path});
}

void DesktopOpener::openOrSayWhy(const QString& path, std::function<void()> failed) {
    if (!openWithDefaultApplication(path))
        sayLater(std::move(failed));
}

void XdgDesktopOpener::openOrSayWhy(const QString& path, std::function<void()> failed) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    const int status = program.isEmpty() ? -1 : StartDetachedWatched(program, QStringList{path});
    if (status < 0) {
        sayLater(std::move(failed));
        return;
    }
    // Watched for its first moments only; owned by the application, so that
    // a watch still running when the editor ends goes with it.
    auto* watch = new QSocketNotifier(status, QSocketNotifier::Read, QCoreApplication::instance());
    auto report = std::make_shared<std::function<void()>>(std::move(failed));
    const auto end = [watch, status, report] {
        if (!watch->isEnabled())
            return;
        watch->setEnabled(false);
        ::close(status);
        *report = nullptr;
        watch->deleteLater();
    };
    QObject::connect(watch, &QSocketNotifier::activated, watch, [status, report, end] {
        const int code = ReadDetachedStatus(status);
        std::function<void()> say = noProgramStarted(code) ? std::exchange(*report, {}) : nullptr;
        end();
        sayLater(std::move(say));
    });
    QTimer::singleShot(m_playerStartedAfterMs, watch, end);
}

DesktopOpener& Desktop() { return *current(); }

std::unique_ptr<DesktopOpener> SetDesktopOpener(std::unique_ptr<DesktopOpener> opener) {
    std::unique_ptr<DesktopOpener> previous = std::move(current());
    current() = opener ? std::move(opener) : std::make_unique<XdgDesktopOpener>();
    return previous;
}

} // namespace kelbrin
