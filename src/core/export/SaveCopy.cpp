#include "SaveCopy.h"

#include "MusicCrc.h"
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
    // The kernel copies a piece of up to a buffer's transfer faster than the
    // program, and any piece into memory; a larger one bound for a disk goes
    // faster through the buffer, in the disk's own large writes.
    const bool kernel = m_buffer.kernelCopies() && (!m_sum || to <= m_sumFrom) &&
                        (to - from <= TransferBuffer::kTransferBytes || m_target.inMemory());
    const std::int64_t step =
        kernel ? TransferBuffer::kKernelTransferBytes : TransferBuffer::kTransferBytes;
    while (position < to) {
        const std::int64_t goal = std::min(to, position + step);
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
        if (!transfer(position, goal - position, kernel, failure))
            return failure;
        position = goal;
    }
    return CopyResult::Done;
}

bool ChunkCopier::transfer(std::int64_t position, std::int64_t count, bool kernel,
                           CopyResult& failure) {
    if (kernel && m_buffer.kernelCopies()) {
        const SaveTarget::Appended appended =
            m_target.appendFrom(m_source.file().handle(), position, count);
        if (appended.unsupported)
            m_buffer.noKernelCopies();
        position += appended.bytes;
        count -= appended.bytes;
    }
    // What the kernel did not copy (all of it where it cannot, the rest of a
    // short or failed copy) goes through the buffer, whose separate read and
    // write tell a fault of the source from one of the output.
    char* data = nullptr;
    while (count > 0) {
        if (!data)
            data = m_buffer.get();
        if (!data) {
            failure = CopyResult::ReadFailed;
            return false;
        }
        const std::int64_t step = std::min(count, TransferBuffer::kTransferBytes);
        if (!m_source.file().readAt(position, data, step)) {
            failure = CopyResult::ReadFailed;
            return false;
        }
        if (!m_target.write(data, step)) {
            failure = CopyResult::WriteFailed;
            return false;
        }
        if (m_sum && position + step > m_sumFrom) {
            const std::int64_t skip = std::max<std::int64_t>(m_sumFrom - position, 0);
            m_sum->add(data + skip, step - skip);
        }
        position += step;
        count -= step;
    }
    return true;
}

} // namespace kelbrin
