#include "SaveTarget.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <cstdio>
#include <limits>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelbrin {

namespace {

QByteArray nativePath(const QString& path) { return QFile::encodeName(path); }

// ".<target name>.kelbrin-<process>-<attempt>.part"
const QString kTemporaryMark = QStringLiteral(".kelbrin-");

bool processIsGone(qint64 pid) {
    if (pid == ::getpid())
        return true; // this process writes no output between runs
    if (pid <= 0 || pid > std::numeric_limits<pid_t>::max())
        return true;
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

bool writeAll(int fd, const char* data, std::int64_t count, std::int64_t position, bool at) {
    while (count > 0) {
        const ssize_t done = at ? ::pwrite(fd, data, static_cast<std::size_t>(count), position)
                                : ::write(fd, data, static_cast<std::size_t>(count));
        if (done < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (done == 0)
            return false;
        data += done;
        count -= done;
        position += done;
    }
    return true;
}

} // namespace

SaveTarget::SaveTarget(const QString& targetPath) : m_target(targetPath) {}

SaveTarget::~SaveTarget() { abandon(); }

bool SaveTarget::open() {
    abandon();
    const QFileInfo info(m_target);
    // A hidden name in the same folder, so the rename never crosses file systems.
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        m_temporary = info.absolutePath() + QStringLiteral("/.") + info.fileName() + kTemporaryMark +
                      QStringLiteral("%1-%2.part").arg(::getpid()).arg(attempt);
        m_fd = ::open(nativePath(m_temporary).constData(),
                      O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd < 0 && errno != EEXIST)
            break;
    }
    if (m_fd < 0) {
        m_temporary.clear();
        return false;
    }
    // A replaced file keeps its permissions.
    struct stat old {};
    if (::stat(nativePath(m_target).constData(), &old) == 0)
        ::fchmod(m_fd, old.st_mode & 07777);
    m_size = 0;
    return true;
}

bool SaveTarget::write(const char* data, std::int64_t count) {
    if (m_fd < 0 || !writeAll(m_fd, data, count, 0, false))
        return false;
    m_size += count;
    return true;
}

bool SaveTarget::write(const QByteArray& bytes) { return write(bytes.constData(), bytes.size()); }

bool SaveTarget::writeAt(std::int64_t position, const QByteArray& bytes) {
    if (m_fd < 0 || position < 0 || position + bytes.size() > m_size)
        return false;
    return writeAll(m_fd, bytes.constData(), bytes.size(), position, true);
}

bool SaveTarget::commit() {
    if (m_fd < 0)
        return false;
    const int fd = m_fd;
    m_fd = -1;
    const bool closed = ::close(fd) == 0;
    if (!closed || ::rename(nativePath(m_temporary).constData(),
                            nativePath(m_target).constData()) != 0) {
        ::unlink(nativePath(m_temporary).constData());
        m_temporary.clear();
        return false;
    }
    m_temporary.clear();
    return true;
}

void SaveTarget::abandon() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temporary.isEmpty()) {
        ::unlink(nativePath(m_temporary).constData());
        m_temporary.clear();
    }
}

int SaveTarget::RemoveLeftovers(const QString& folder) {
    static const QRegularExpression name(QStringLiteral("^\\..+\\.kelbrin-(\\d{1,10})-\\d{1,3}\\.part$"));
    const QDir dir(folder);
    int removed = 0;
    const QStringList hidden = dir.entryList({QStringLiteral(".*.part")},
                                             QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& file : hidden) {
        const QRegularExpressionMatch match = name.match(file);
        if (!match.hasMatch() || !processIsGone(match.captured(1).toLongLong()))
            continue;
        if (::unlink(nativePath(dir.filePath(file)).constData()) == 0)
            ++removed;
    }
    return removed;
}

} // namespace kelbrin
