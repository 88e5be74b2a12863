#include "SaveCopy.h"

#include "SaveHost.h"
#include "SaveTarget.h"

#include <algorithm>

namespace kelbrin {

QByteArray SaveSource::readExactly(std::int64_t position, std::int64_t count) const {
    if (count < 0)
        return QByteArray();
    QByteArray bytes(count, Qt::Uninitialized);
    return readInto(position, bytes.data(), count) ? bytes : QByteArray();
}

bool SaveSource::readInto(std::int64_t position, void* destination, std::int64_t count) const {
    if (position < 0 || count < 0 || position + count > m_file.size())
        return false;
    return m_file.readAt(position, destination, count);
}

char* TransferBuffer::get() {
    if (!m_bytes)
        m_bytes.reset(static_cast<char*>(std::aligned_alloc(kPage, kTransferBytes)));
    return m_bytes.get();
}

ChunkCopier::ChunkCopier(const SaveSource& source, SaveTarget& target, std::int64_t chunkSize,
                         SaveHost& host, TransferBuffer& buffer)
    : m_source(source), m_target(target), m_chunkSize(chunkSize > 0 ? chunkSize : 65535),
      m_host(host), m_buffer(buffer) {}

CopyResult ChunkCopier::copy(std::int64_t from, std::int64_t to) {
    std::int64_t position = from; // copied up to here
    std::int64_t counted = from;  // chunks counted up to here
    while (position < to) {
        const std::int64_t goal = std::min(to, position + TransferBuffer::kTransferBytes);
        // Every chunk that starts before the transfer ends is counted first,
        // so progress and a stop come at the same chunks as with chunk-sized
        // copies; a stop abandons the output, so nothing half-copied is kept.
        while (counted < goal) {
            if (m_host.StopRequested())
                return CopyResult::Stopped;
            ++m_chunks;
            if (m_chunks % kChunksPerProgress == 0 && !m_host.UstawProgress(counted))
                return CopyResult::Stopped;
            counted += std::min(m_chunkSize, to - counted);
        }
        CopyResult failure = CopyResult::Done;
        if (!transfer(position, goal - position, failure))
            return failure;
        position = goal;
    }
    return CopyResult::Done;
}

bool ChunkCopier::transfer(std::int64_t position, std::int64_t count, CopyResult& failure) {
    char* const data = m_buffer.get();
    if (!data) {
        failure = CopyResult::ReadFailed;
        return false;
    }
    if (!m_source.file().readAt(position, data, count)) {
        failure = CopyResult::ReadFailed;
        return false;
    }
    if (!m_target.write(data, count)) {
        failure = CopyResult::WriteFailed;
        return false;
    }
    return true;
}

} // namespace kelbrin
