#include "InPlaceFile.h"

#include <QFileInfo>
#include <algorithm>

namespace kelbrin {

InPlaceFile::InPlaceFile(const QString& path, Mode mode) : m_file(path) {
    // ExistingOnly keeps a file that vanished meanwhile from being made anew.
    const QIODevice::OpenMode flags =
        (mode == Mode::Read ? QIODevice::ReadOnly : QIODevice::ReadWrite) | QIODevice::ExistingOnly;
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
        return {};
    }
    return bytes;
}

bool InPlaceFile::writeAt(std::int64_t offset, const QByteArray& bytes) {
    if (!m_open || offset < 0)
        return false;
    if (!m_file.seek(offset) || m_file.write(bytes) != bytes.size()) {
        m_error = m_file.errorString();
        return false;
    }
    m_size = std::max<std::int64_t>(m_size, offset + bytes.size());
    return true;
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
