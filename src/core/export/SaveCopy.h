#pragma once
// Moving a byte range of a source file into an output, chunk by chunk, with
// every read and write checked and only the bytes actually read written.
//
// Chunks are what the user sees (progress, stopping); the bytes themselves
// move in few large transfers, which cost the kernel much less than many
// chunk-sized ones. The kernel copies them from file to file where that is
// faster, in transfers of several mebibytes (small kernel copies lose to large
// reads and writes); otherwise, and for whatever a kernel copy leaves, they go
// in reads and writes of up to a mebibyte through one reused buffer.

#include "SaveTarget.h"
#include "platform/files/FileReader.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace kelbrin {

class MusicCrc;
class SaveHost;

// A source file opened read-only for an export run; closed when it goes.
class SaveSource {
public:
    explicit SaveSource(const QString& path) : m_file(path) {}

    bool isOpen() const { return m_file.isOpen(); }
    const FileReader& file() const { return m_file; }
    std::int64_t size() const { return m_file.size(); }
    // Exactly `count` bytes at a 0-based position; empty when they cannot be read.
    QByteArray readExactly(std::int64_t position, std::int64_t count) const;
    // The same straight into `destination`; false when not every byte was read.
    bool readInto(std::int64_t position, void* destination, std::int64_t count) const;

private:
    FileReader m_file;
};

enum class CopyResult { Done, Stopped, ReadFailed, WriteFailed };

// The page-aligned memory the copies of one export run go through, made on
// first use and kept for the run, so many short pieces do not each map and
// fault in a fresh mebibyte.
class TransferBuffer {
public:
    static constexpr std::int64_t kPage = 4096;
    // The most bytes one read or write moves.
    static constexpr std::int64_t kTransferBytes = std::int64_t{1} << 20;

    // The most bytes one copy by the kernel moves.
    static constexpr std::int64_t kKernelTransferBytes = std::int64_t{8} << 20;

    // kTransferBytes, page-aligned; nullptr when the memory cannot be had.
    char* get();

    // Whether the kernel copies between the run's files; once it has said it
    // cannot, the run asks it no more.
    bool kernelCopies() const { return m_kernelCopies; }
    void noKernelCopies() { m_kernelCopies = false; }

private:
    struct Free {
        void operator()(char* p) const { std::free(p); }
    };
    std::unique_ptr<char, Free> m_bytes;
    bool m_kernelCopies = true;
};

class ChunkCopier {
public:
    // Progress is shown (and events run) on every this many chunks.
    static constexpr std::int64_t kChunksPerProgress = 10;

    ChunkCopier(const SaveSource& source, SaveTarget& target, std::int64_t chunkSize,
                SaveHost& host, TransferBuffer& buffer);

    // Appends the source bytes [from, to) to the target.
    CopyResult copy(std::int64_t from, std::int64_t to);
    // The bytes copied from the source position `from` on go into `sum` as
    // they are written (nullptr: none do). Such bytes pass through the
    // buffer: what the kernel copies, the program never sees.
    void sumInto(MusicCrc* sum, std::int64_t from = 0) {
        m_sum = sum;
        m_sumFrom = from;
    }
    std::int64_t chunks() const { return m_chunks; }

private:
    bool transfer(std::int64_t position, std::int64_t count, bool kernel, CopyResult& failure);

    const SaveSource& m_source;
    SaveTarget& m_target;
    std::int64_t m_chunkSize;
    SaveHost& m_host;
    std::int64_t m_chunks = 0;
    TransferBuffer& m_buffer;
    MusicCrc* m_sum = nullptr;
    std::int64_t m_sumFrom = 0;
};

} // namespace kelbrin
