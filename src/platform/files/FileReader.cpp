#include "FileReader.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelbrin {

FileReader::FileReader(const QString& path) {
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

FileReader::~FileReader() {
    if (m_fd >= 0)
        ::close(m_fd);
}

bool FileReader::readAt(std::int64_t position, void* destination, std::int64_t count) const {
    if (m_fd < 0 || position < 0 || count < 0)
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

} // namespace kelbrin
