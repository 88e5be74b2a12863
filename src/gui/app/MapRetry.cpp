#include "MapRetry.h"

#include "platform/shell/WindowMapRequest.h"

#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace kelbrin {

namespace {

// A manager that is up answers within milliseconds; one still starting gets a
// second. A request that was only slow to be answered does no harm when asked
// again: the manager finds the window already mapped.
constexpr int kFirstCheckMs = 1000;
constexpr int kLongestWaitMs = 8000;
constexpr int kMostRequests = 6;

class MapRetrier final : public QObject {
public:
    explicit MapRetrier(QWidget* window) : QObject(window), m_window(window) {
        m_timer.setSingleShot(true);
        connect(&m_timer, &QTimer::timeout, this, &MapRetrier::check);
        m_timer.start(kFirstCheckMs);
    }

private:
    void check() {
        QWindow* native = m_window->windowHandle();
        if (!m_window->isVisible() || !native || native->isExposed() ||
            QueryWindowMap(native->winId()) != WindowMapState::Waiting) {
            deleteLater();
            return;
        }
        RequestWindowMap(native->winId());
        if (++m_requests >= kMostRequests) {
            deleteLater();
            return;
        }
        m_timer.start(std::min(kFirstCheckMs << m_requests, kLongestWaitMs));
    }

    QWidget* m_window; // the parent: this goes with it
    QTimer m_timer;
    int m_requests = 0;
};

} // namespace

void RetryMapUntilShown(QWidget* window) {
    if (window && window->isVisible() && window->windowHandle())
        new MapRetrier(window);
}

} // namespace kelbrin
