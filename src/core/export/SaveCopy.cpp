#include "SaveCopy.h"

#include "SaveHost.h"
#include "SaveTarget.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelbrin {

SaveSource::SaveSource(const QString& path) {
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0)
        return;
    struct stat info {};
    if (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(m_fd);
        m_fd = -1;
        return;
    }
    m_size = info.st_size;
    ::posix_fadvise(m_fd, 0, 0, POSIX_FADV_SEQUENTIAL);
}

SaveSource::~SaveSource() {
    if (m_fd >= 0)
        ::close(m_fd);
}

QByteArray SaveSource::readExactly(std::int64_t position, std::int64_t count) const {
    if (count < 0)
        return QByteArray();
    QByteArray bytes(count, Qt::Uninitialized);
    return readInto(position, bytes.data(), count) ? bytes : QByteArray();
}

bool SaveSource::readInto(std::int64_t position, void* destination, std::int64_t count) const {
    if (m_fd < 0 || position < 0 || count < 0 || position + count > m_size)
        return false;
    auto* bytes = static_cast<char*>(destination);
    std::int64_t got = 0;
    while (got < count) {
        const ssize_t done = ::pread(m_fd, bytes + got, static_cast<std::size_t>(count - got),
                                     position + got);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return false;
        got += done;
    }
    return true;
}

ChunkCopier::ChunkCopier(const SaveSource& source, SaveTarget& target, std::int64_t chunkSize,
                         SaveHost& host)
    : m_source(source), m_target(target), m_chunkSize(chunkSize > 0 ? chunkSize : 65535),
      m_host(host) {}

CopyResult ChunkCopier::copy(std::int64_t from, std::int64_t to) {
    std::int64_t position = from;
    while (position < to) {
        if (m_host.StopRequested())
            return CopyResult::Stopped;
        ++m_chunks;
        if (m_chunks % kChunksPerProgress == 0 && !m_host.UstawProgress(position))
            return CopyResult::Stopped;
        const std::int64_t count = std::min(m_chunkSize, to - position);
        CopyResult failure = CopyResult::Done;
        if (!copyChunk(position, count, failure))
            return failure;
        position += count;
    }
    return CopyResult::Done;
}

bool ChunkCopier::copyChunk(std::int64_t position, std::int64_t count, CopyResult& failure) {
    std::int64_t done = 0;
    while (m_kernelCopy && done < count) {
        loff_t in = position + done;
        const ssize_t moved = ::copy_file_range(m_source.handle(), &in, m_target.handle(), nullptr,
                                                static_cast<std::size_t>(count - done), 0);
        if (moved > 0) {
            done += moved;
            m_target.advance(moved);
            continue;
        }
        if (moved < 0 && errno == EINTR)
            continue;
        if (moved == 0) {
            // The source ends before the range does.
            failure = CopyResult::ReadFailed;
            return false;
        }
        if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP ||
            errno == EBADF) {
            m_kernelCopy = false; // not between these files: copy through the buffer
            break;
        }
        // Which side failed is told by a plain read of the same bytes.
        m_kernelCopy = false;
        break;
    }
    if (done == count)
        return true;
    const std::int64_t rest = count - done;
    if (static_cast<std::int64_t>(m_buffer.size()) < rest)
        m_buffer.resize(static_cast<std::size_t>(m_chunkSize));
    std::int64_t got = 0;
    while (got < rest) {
        const ssize_t read = ::pread(m_source.handle(), m_buffer.data() + got,
                                     static_cast<std::size_t>(rest - got), position + done + got);
        if (read < 0 && errno == EINTR)
            continue;
        if (read <= 0) {
            failure = CopyResult::ReadFailed;
            return false;
        }
        got += read;
    }
    if (!m_target.write(m_buffer.data(), got)) {
        failure = CopyResult::WriteFailed;
        return false;
    }
    return true;
}

} // namespace kelbrin
