#include "InPlaceFile.h"

#include <QFileInfo>
#include <algorithm>
#include <sys/stat.h>

namespace kelbrin {

InPlaceFile::InPlaceFile(const QString& path, Mode mode) : m_file(path) {
    // ExistingOnly keeps a file that vanished meanwhile from being made anew.
    // Unbuffered: a buffered write that fails only when flushed later could
    // not be told apart from the writes around it.
    const QIODevice::OpenMode flags =
        (mode == Mode::Read ? QIODevice::ReadOnly : QIODevice::ReadWrite | QIODevice::Unbuffered) |
        QIODevice::ExistingOnly;
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        m_missing = !QFileInfo::exists(path);
        m_error = m_missing ? QStringLiteral("No such file") : QStringLiteral("Not a file");
        return;
    }
    m_open = m_file.open(flags);
    if (!m_open) {
        m_missing = !QFileInfo::exists(path);
        m_error = m_file.errorString();
        return;
    }
    m_size = m_file.size();
}

InPlaceFile::~InPlaceFile() {
    close();
}

QByteArray InPlaceFile::readAt(std::int64_t offset, std::int64_t count) {
    if (!m_open || offset < 0 || count < 0 || offset + count > m_size)
        return {};
    if (!m_file.seek(offset)) {
        m_error = m_file.errorString();
        return {};
    }
    QByteArray bytes = m_file.read(count);
    if (bytes.size() != count) {
        m_error = m_file.errorString();
        // Cut short by someone else since it was opened: its size now.
        m_size = std::min<std::int64_t>(m_size, m_file.size());
        return {};
    }
    return bytes;
}

bool InPlaceFile::writeAt(std::int64_t offset, const QByteArray& bytes) {
    if (!m_open || offset < 0)
        return false;
    if (m_keepOld && offset < m_size) {
        QByteArray old = readAt(offset, std::min<std::int64_t>(bytes.size(), m_size - offset));
        if (old.isEmpty())
            return false;
        m_old.push_back({offset, std::move(old)});
    }
    if (!m_file.seek(offset) || m_file.write(bytes) != bytes.size()) {
        m_error = m_file.errorString();
        return false;
    }
    m_size = std::max<std::int64_t>(m_size, offset + bytes.size());
    return true;
}

bool InPlaceFile::putOldBytesBack() {
    if (!m_open)
        return m_old.empty();
    bool all = true;
    const std::int64_t size = m_file.size();
    for (auto old = m_old.rbegin(); old != m_old.rend(); ++old) {
        const QByteArray bytes = old->bytes.left(std::max<std::int64_t>(0, size - old->offset));
        if (bytes.isEmpty())
            continue;
        if (!m_file.seek(old->offset) || m_file.write(bytes) != bytes.size()) {
            m_error = m_file.errorString();
            all = false;
        }
    }
    if (all)
        m_old.clear();
    return all;
}

bool InPlaceFile::stillUnderItsName() const {
    struct stat opened {};
    struct stat named {};
    if (!m_open || ::fstat(m_file.handle(), &opened) != 0 ||
        ::stat(QFile::encodeName(m_file.fileName()).constData(), &named) != 0)
        return false;
    return opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

bool InPlaceFile::close() {
    if (!m_open)
        return true;
    m_open = false;
    const bool flushed = m_file.flush();
    if (!flushed)
        m_error = m_file.errorString();
    m_file.close();
    return flushed;
}

} // namespace kelbrin
