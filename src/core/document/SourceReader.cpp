#include "SourceReader.h"

#include "SourceReadAhead.h"

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
    stopReadAhead();
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

void SourceReader::readAhead(bool on) {
    m_aheadWanted = on;
    if (!on)
        stopReadAhead();
}

void SourceReader::stopReadAhead() {
    if (!m_ahead)
        return;
    m_ahead.reset();
    // The buffered bytes may have been the read-ahead's.
    if (m_blockData != m_blockBase) {
        m_blockStart = 0;
        m_blockLength = 0;
    }
}

std::int64_t SourceReader::refill(std::int64_t offset, std::int64_t wanted) {
    if (m_failed)
        return 0;
    if (m_ahead) {
        const std::int64_t got = refillFromAhead(offset, wanted);
        if (got >= 0)
            return got;
        // Not the next block's bytes, or the read-ahead is over: read here.
        stopReadAhead();
    }
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
        m_blockBase = m_block.get() + (kAlignment - address % kAlignment) % kAlignment;
    }
    m_blockData = m_blockBase;
    m_blockStart = offset - lead;
    m_blockLength = 0;
    const std::int64_t got = readAt(m_blockStart, m_blockBase, blockSize);
    if (got < 0)
        return 0;
    m_blockLength = got;
    // A whole block with more than a few to come: read the next ones ahead.
    const std::int64_t next = m_blockStart + got;
    if (m_aheadWanted && got == kBlockSize && m_size - next >= 2 * SourceReadAhead::kBlockSize) {
        m_ahead = SourceReadAhead::Start(m_file.handle(), next);
        m_aheadNext = next;
        m_aheadDone = false;
    }
    return std::max<std::int64_t>(got - lead, 0);
}

// The bytes from `offset` through the read-ahead's next block, when they all
// lie in the present block and that one; -1 when they do not.
std::int64_t SourceReader::refillFromAhead(std::int64_t offset, std::int64_t wanted) {
    const std::int64_t carried = std::max<std::int64_t>(m_aheadNext - offset, 0);
    if (m_aheadDone || offset < m_blockStart || m_blockStart + m_blockLength != m_aheadNext ||
        carried > SourceReadAhead::kHeadroom ||
        offset + wanted > m_aheadNext + SourceReadAhead::kBlockSize)
        return -1;
    const SourceReadAhead::Block block =
        m_ahead->take(carried > 0 ? data(offset) : nullptr, carried);
    if (block.length < 0)
        return -1;
    m_blockData = block.data;
    m_blockStart = block.start;
    m_blockLength = block.length;
    m_aheadNext = block.start + block.length;
    m_aheadDone = block.last;
    return std::max<std::int64_t>(m_blockStart + m_blockLength - offset, 0);
}

} // namespace kelbrin
