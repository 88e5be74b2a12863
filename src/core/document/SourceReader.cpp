#include "SourceReader.h"

#include <QFileInfo>

#include <algorithm>
#include <mutex>

namespace kelbrin {

namespace {

// One spare standard-sized block, kept between readers.
std::mutex& spareLock() {
    static std::mutex lock;
    return lock;
}
std::unique_ptr<std::uint8_t[]>& spareBlock() {
    static std::unique_ptr<std::uint8_t[]> block;
    return block;
}

} // namespace

SourceReader::~SourceReader() {
    if (m_block && m_blockCapacity == kBlockSize) {
        const std::lock_guard<std::mutex> guard(spareLock());
        if (!spareBlock())
            spareBlock() = std::move(m_block);
    }
}

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

std::int64_t SourceReader::refill(std::int64_t offset, std::int64_t wanted) {
    if (m_failed)
        return 0;
    // The block starts on a page boundary of the file and of memory: the
    // system copies whole aligned pages fastest.
    const std::int64_t lead = offset % kAlignment;
    const std::int64_t blockSize = std::max(kBlockSize, wanted + lead);
    if (m_blockCapacity < blockSize) {
        std::unique_ptr<std::uint8_t[]> spare;
        if (blockSize == kBlockSize) {
            const std::lock_guard<std::mutex> guard(spareLock());
            spare = std::move(spareBlock());
        }
        // The bytes are read over at once: no need to clear them first.
        m_block = spare ? std::move(spare)
                        : std::unique_ptr<std::uint8_t[]>(new std::uint8_t[blockSize + kAlignment]);
        m_blockCapacity = blockSize;
        const auto address = reinterpret_cast<std::uintptr_t>(m_block.get());
        m_blockData = m_block.get() + (kAlignment - address % kAlignment) % kAlignment;
    }
    m_blockStart = offset - lead;
    m_blockLength = 0;
    const std::int64_t got = readAt(m_blockStart, m_blockData, blockSize);
    if (got < 0)
        return 0;
    m_blockLength = got;
    return std::max<std::int64_t>(got - lead, 0);
}

} // namespace kelbrin
