#include "SourceReader.h"

#include <QFileInfo>

#include <algorithm>

namespace kelbrin {

SourceReader::SourceReader(const QString& path) : m_file(path) {
    // Only a regular file: opening a FIFO would block until a writer came.
    m_open = QFileInfo(path).isFile() && m_file.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    if (m_open)
        m_size = m_file.size();
}

std::int64_t SourceReader::readAt(std::int64_t offset, void* destination, std::int64_t count) {
    if (!m_open || offset < 0 || !m_file.seek(offset)) {
        m_failed = true;
        return -1;
    }
    const qint64 got = m_file.read(static_cast<char*>(destination), count);
    if (got < 0)
        m_failed = true;
    return got;
}

std::int64_t SourceReader::fill(std::int64_t offset, std::int64_t wanted) {
    const std::int64_t buffered = m_blockStart + m_blockLength - offset;
    if (offset >= m_blockStart && buffered >= wanted)
        return buffered;
    if (m_failed)
        return 0;
    const std::int64_t blockSize = std::max(kBlockSize, wanted);
    if (static_cast<std::int64_t>(m_block.size()) < blockSize)
        m_block.resize(static_cast<std::size_t>(blockSize));
    m_blockStart = offset;
    m_blockLength = 0;
    const std::int64_t got = readAt(offset, m_block.data(), blockSize);
    if (got < 0)
        return 0;
    m_blockLength = got;
    return got;
}

} // namespace kelbrin
