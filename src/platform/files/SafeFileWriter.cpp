#include "SafeFileWriter.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <limits>
#include <set>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace kelbrin {

namespace {

QByteArray nativePath(const QString& path) { return QFile::encodeName(path); }

// ".<target name>.kelbrin-<process>-<attempt>.part"
const QString kTemporaryMark = QStringLiteral(".kelbrin-");
// Bytes of the target's name kept in the temporary name; the rest of a
// 255-byte name is left for the dot and the mark.
constexpr qsizetype kLongestNamePart = 200;

// The temporary files this process is writing now: an autosave may tidy the
// folder that an export running under it writes into.
std::set<QString>& liveTemporaries() {
    static std::set<QString> live;
    return live;
}

QString liveKey(const QString& path) { return QDir::cleanPath(QFileInfo(path).absoluteFilePath()); }

bool processIsGone(qint64 pid) {
    if (pid == ::getpid())
        return true; // its live files are kept by name
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

constexpr int kAttempts = 100;

// A hidden name in the target's folder, so the rename never crosses file systems.
QString temporaryName(const QFileInfo& target, int attempt) {
    // The mark must fit beside a name that is itself near the longest allowed.
    QString name = target.fileName();
    while (nativePath(name).size() > kLongestNamePart) {
        name.chop(1);
        if (!name.isEmpty() && name.back().isHighSurrogate())
            name.chop(1);
    }
    return target.absolutePath() + QStringLiteral("/.") + name + kTemporaryMark +
           QStringLiteral("%1-%2.part").arg(::getpid()).arg(attempt);
}

// O_TMPFILE files are named through /proc/self/fd, which a system may lack.
bool canNameUnnamedFiles() {
    static const bool can = ::access("/proc/self/fd", X_OK) == 0;
    return can;
}

QByteArray procSelfFd(int fd) { return "/proc/self/fd/" + QByteArray::number(fd); }

// The longest name the folder takes, in bytes.
qsizetype longestName(const QFileInfo& target) {
    const long longest = ::pathconf(nativePath(target.absolutePath()).constData(), _PC_NAME_MAX);
    return longest > 0 ? longest : NAME_MAX;
}

} // namespace

SafeFileWriter::SafeFileWriter(const QString& targetPath) : m_target(targetPath) {}

SafeFileWriter::~SafeFileWriter() { abandon(); }

bool SafeFileWriter::open(Target known) {
    abandon();
    const QFileInfo info(m_target);
    m_size = 0;
    // A file that is there now is replaced through a named temporary file and
    // keeps its permissions; a new one is written as a file without a name
    // that takes the target's name whole once complete, so nothing half
    // written is ever seen in the folder and a killed run leaves nothing.
    // A target that appears meanwhile is still replaced the safe way (commit).
    struct stat old {};
    m_replacing = known != Target::Missing && ::stat(nativePath(m_target).constData(), &old) == 0;
    // A name the folder cannot take fails here, as creating the file would,
    // and not only once the whole file has been written under another name.
    if (m_replacing && S_ISDIR(old.st_mode)) {
        errno = EISDIR;
        failed();
        return false;
    }
    if (nativePath(info.fileName()).size() > longestName(info)) {
        errno = ENAMETOOLONG;
        failed();
        return false;
    }
    if (!m_replacing && canNameUnnamedFiles()) {
        m_fd = ::open(nativePath(info.absolutePath()).constData(),
                      O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (m_fd >= 0)
            return true;
    }
    if (!openNamed(info))
        return false;
    if (m_replacing)
        ::fchmod(m_fd, old.st_mode & 07777);
    return true;
}

bool SafeFileWriter::openNamed(const QFileInfo& info) {
    for (int attempt = 0; attempt < kAttempts && m_fd < 0; ++attempt) {
        m_temporary = temporaryName(info, attempt);
        m_fd = ::open(nativePath(m_temporary).constData(),
                      O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd < 0 && errno != EEXIST)
            break;
    }
    if (m_fd < 0) {
        failed();
        m_temporary.clear();
        return false;
    }
    liveTemporaries().insert(liveKey(m_temporary));
    return true;
}

void SafeFileWriter::failed() { m_error = QString::fromLocal8Bit(std::strerror(errno)); }

bool SafeFileWriter::write(const char* data, std::int64_t count) {
    if (m_fd < 0)
        return false;
    if (!writeAll(m_fd, data, count, 0, false)) {
        failed();
        return false;
    }
    m_size += count;
    return true;
}

bool SafeFileWriter::write(const QByteArray& bytes) { return write(bytes.constData(), bytes.size()); }

SafeFileWriter::Appended SafeFileWriter::appendFrom(int sourceHandle, std::int64_t position,
                                                    std::int64_t count) {
    Appended appended;
    if (m_fd < 0 || sourceHandle < 0 || position < 0)
        return appended;
    while (appended.bytes < count) {
        loff_t from = position + appended.bytes;
        const ssize_t done = ::copy_file_range(sourceHandle, &from, m_fd, nullptr,
                                               static_cast<std::size_t>(count - appended.bytes), 0);
        if (done < 0 && errno == EINTR)
            continue;
        // A failure is not kept as the writer's: the caller appends the rest
        // otherwise, and that append reports what goes wrong.
        if (done < 0)
            appended.unsupported = errno == EXDEV || errno == EINVAL || errno == ENOSYS ||
                                   errno == EOPNOTSUPP;
        if (done <= 0)
            break;
        appended.bytes += done;
        m_size += done;
    }
    return appended;
}

bool SafeFileWriter::inMemory() const {
    struct statfs system {};
    return m_fd >= 0 && ::fstatfs(m_fd, &system) == 0 && system.f_type == TMPFS_MAGIC;
}

bool SafeFileWriter::writeAt(std::int64_t position, const QByteArray& bytes) {
    if (m_fd < 0 || position < 0 || position + bytes.size() > m_size)
        return false;
    if (!writeAll(m_fd, bytes.constData(), bytes.size(), position, true)) {
        failed();
        return false;
    }
    return true;
}

bool SafeFileWriter::commit() {
    if (m_fd < 0)
        return false;
    if (m_temporary.isEmpty())
        return commitUnnamed();
    const int fd = m_fd;
    m_fd = -1;
    // A replaced file is on the disk before its new contents take the
    // target's name: a crash after the rename must not leave a target whose
    // blocks were never written where the old file was whole.
    bool done = !(m_replacing || m_flushNew) || ::fdatasync(fd) == 0;
    if (!done)
        failed();
    if (::close(fd) != 0 && done) {
        failed();
        done = false;
    }
    if (done && ::rename(nativePath(m_temporary).constData(), nativePath(m_target).constData()) != 0) {
        failed();
        done = false;
    }
    if (!done)
        ::unlink(nativePath(m_temporary).constData());
    liveTemporaries().erase(liveKey(m_temporary));
    m_temporary.clear();
    return done;
}

bool SafeFileWriter::commitUnnamed() {
    const QByteArray self = procSelfFd(m_fd);
    const QByteArray target = nativePath(m_target);
    if (m_flushNew && ::fdatasync(m_fd) != 0) {
        failed();
        abandon();
        return false;
    }
    if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, target.constData(),
                 AT_SYMLINK_FOLLOW) == 0) {
        const int fd = m_fd;
        m_fd = -1;
        if (::close(fd) == 0)
            return true;
        failed();
        ::unlink(target.constData()); // it was not there before
        return false;
    }
    if (errno != EEXIST) {
        failed();
        abandon();
        return false;
    }
    // Another file took the name while this one was written: replace it the
    // safe way, through a named temporary file.
    m_replacing = true;
    struct stat old {};
    if (::stat(target.constData(), &old) == 0)
        ::fchmod(m_fd, old.st_mode & 07777);
    const QFileInfo info(m_target);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        m_temporary = temporaryName(info, attempt);
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, nativePath(m_temporary).constData(),
                     AT_SYMLINK_FOLLOW) == 0)
            return commit();
        if (errno != EEXIST)
            break;
    }
    failed();
    m_temporary.clear();
    abandon();
    return false;
}

void SafeFileWriter::abandon() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temporary.isEmpty()) {
        ::unlink(nativePath(m_temporary).constData());
        liveTemporaries().erase(liveKey(m_temporary));
        m_temporary.clear();
    }
}

int SafeFileWriter::RemoveLeftovers(const QString& folder) {
    static const QRegularExpression name(QStringLiteral("^\\..+\\.kelbrin-(\\d{1,10})-\\d{1,3}\\.part$"));
    const QDir dir(folder);
    int removed = 0;
    const QStringList hidden = dir.entryList({QStringLiteral(".*.part")},
                                             QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& file : hidden) {
        const QRegularExpressionMatch match = name.match(file);
        if (!match.hasMatch() || !processIsGone(match.captured(1).toLongLong()))
            continue;
        const QString path = dir.filePath(file);
        if (liveTemporaries().count(liveKey(path)) != 0)
            continue;
        if (::unlink(nativePath(path).constData()) == 0)
            ++removed;
    }
    return removed;
}

} // namespace kelbrin
