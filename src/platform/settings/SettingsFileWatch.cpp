#include "SettingsFileWatch.h"

#include <QFile>
#include <QFileInfo>

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>

namespace kelbrin {

SettingsFileWatch::SettingsFileWatch(const QString& file, std::function<void()> changed)
    : m_name(QFile::encodeName(QFileInfo(file).fileName())), m_changed(std::move(changed)) {
    m_fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_fd < 0)
        return;
    const QByteArray folder = QFile::encodeName(QFileInfo(file).absolutePath());
    // A rename over the file, a write in place, a touch, a new file.
    const uint32_t events =
        IN_MOVED_TO | IN_CLOSE_WRITE | IN_MODIFY | IN_ATTRIB | IN_CREATE | IN_DELETE;
    if (inotify_add_watch(m_fd, folder.constData(), events) < 0) {
        ::close(m_fd);
        m_fd = -1;
        return;
    }
    m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { readEvents(); });
}

SettingsFileWatch::~SettingsFileWatch() {
    m_notifier.reset();
    if (m_fd >= 0)
        ::close(m_fd);
}

void SettingsFileWatch::readEvents() {
    bool named = false;
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        for (ssize_t at = 0; at + ssize_t(sizeof(inotify_event)) <= got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            // Events lost to a full queue may have named the file.
            if ((event->mask & IN_Q_OVERFLOW) || (event->len > 0 && m_name == event->name))
                named = true;
            at += ssize_t(sizeof(inotify_event)) + event->len;
        }
    }
    if (named && m_changed)
        m_changed();
}

} // namespace kelbrin
