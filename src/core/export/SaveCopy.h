#pragma once
// Moving a byte range of a source file into an output, chunk by chunk, with
// every read and write checked and only the bytes actually read written. The
// kernel copies between the two files where it can; otherwise one reused
// buffer carries each chunk.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

namespace kelbrin {

class SaveHost;
class SaveTarget;

// A source file opened read-only for an export run; closed when it goes.
class SaveSource {
public:
    explicit SaveSource(const QString& path);
    ~SaveSource();
    SaveSource(const SaveSource&) = delete;
    SaveSource& operator=(const SaveSource&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    int handle() const { return m_fd; }
    std::int64_t size() const { return m_size; }
    // Exactly `count` bytes at a 0-based position; empty when they cannot be read.
    QByteArray readExactly(std::int64_t position, std::int64_t count) const;
    // The same straight into `destination`; false when not every byte was read.
    bool readInto(std::int64_t position, void* destination, std::int64_t count) const;

private:
    int m_fd = -1;
    std::int64_t m_size = 0;
};

enum class CopyResult { Done, Stopped, ReadFailed, WriteFailed };

class ChunkCopier {
public:
    // Progress is shown (and events run) on every this many chunks.
    static constexpr std::int64_t kChunksPerProgress = 10;

    ChunkCopier(const SaveSource& source, SaveTarget& target, std::int64_t chunkSize,
                SaveHost& host);

    // Appends the source bytes [from, to) to the target.
    CopyResult copy(std::int64_t from, std::int64_t to);
    std::int64_t chunks() const { return m_chunks; }

private:
    bool copyChunk(std::int64_t position, std::int64_t count, CopyResult& failure);

    const SaveSource& m_source;
    SaveTarget& m_target;
    std::int64_t m_chunkSize;
    SaveHost& m_host;
    std::int64_t m_chunks = 0;
    bool m_kernelCopy = true;
    std::vector<char> m_buffer;
};

} // namespace kelbrin
