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
#include <vector>

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

// Shared with the watches, which may outlive the opener that started them.
struct XdgDesktopOpener::Watches {
    int running = 0;
    std::vector<std::shared_ptr<std::function<void()>>> waiting;

    void ended() {
        if (--running > 0)
            return;
        for (auto& waiter : std::exchange(waiting, {}))
            sayLater(std::exchange(*waiter, {}));
    }
};

bool XdgDesktopOpener::openWithDefaultApplication(const QString& path) {
    return QProcess::startDetached(QStringLiteral("xdg-open"), QStringList{path});
}

void DesktopOpener::openOrSayWhy(const QString& path, std::function<void()> failed) {
    if (!openWithDefaultApplication(path))
        sayLater(std::move(failed));
}

// A refusal here is known at once, and said on the loop's next turn: `then`
// comes after it.
void DesktopOpener::whenSettled(int, std::function<void()> then) { sayLater(std::move(then)); }

void XdgDesktopOpener::whenSettled(int withinMs, std::function<void()> then) {
    if (!m_watches || m_watches->running == 0) {
        sayLater(std::move(then));
        return;
    }
    auto waiter = std::make_shared<std::function<void()>>(std::move(then));
    m_watches->waiting.push_back(waiter);
    QTimer::singleShot(withinMs, QCoreApplication::instance(),
                       [waiter] { sayLater(std::exchange(*waiter, {})); });
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
    if (!m_watches)
        m_watches = std::make_shared<Watches>();
    ++m_watches->running;
    const auto end = [watch, status, report, watches = m_watches] {
        if (!watch->isEnabled())
            return;
        watch->setEnabled(false);
        ::close(status);
        *report = nullptr;
        watch->deleteLater();
        watches->ended();
    };
    QObject::connect(watch, &QSocketNotifier::activated, watch, [status, report, end] {
        const int code = ReadDetachedStatus(status);
        // Said before whoever waits for the watches to end hears of it.
        sayLater(noProgramStarted(code) ? std::exchange(*report, {}) : nullptr);
        end();
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
