#include "SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace kelbrin {

SingleInstance::SingleInstance(const QString& name) {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    // The shared temporary folder is every user's: the name says whose lock it is.
    QString file = name;
    if (dir.isEmpty()) {
        dir = QDir::tempPath();
        file += QLatin1Char('-') + QString::number(::getuid());
    }
    m_path = dir + QLatin1Char('/') + file + QStringLiteral(".lock");
}

SingleInstance::~SingleInstance() {
    if (m_fd >= 0)
        ::close(m_fd);
}

bool SingleInstance::acquire() {
    if (m_fd >= 0)
        return true;
    // An advisory lock on an open file: nothing is written or flushed, and
    // the start-up pays one open and one flock.
    const int fd = ::open(QFile::encodeName(m_path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        // Refusing here would refuse every later start too.
        m_unavailable = true;
        return true;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        m_unavailable = !held;
        return !held;
    }
    m_fd = fd;
    return true;
}

} // namespace kelbrin
