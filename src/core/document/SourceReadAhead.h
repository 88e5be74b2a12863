#pragma once
// Reads a file's blocks one after another on a thread of its own, a few blocks
// ahead of the one being worked on: the system's copy of the next blocks then
// runs while the present one is walked, instead of before it.
//
// Each block is read by whoever comes to it first: the thread, or the taker
// that finds it not begun. The taker never sleeps on the thread: a block the
// thread is slow to finish (kept off the processor on a busy machine) it reads
// again for itself, so that the read-ahead is never much slower than reading
// without one. The thread only ever reads with pread() into blocks nobody else
// looks at; it ends at the file's end, at a failed read, or when the
// read-ahead goes, which waits for it. A short or failed block is handed on as
// it is: the reader that owns the read-ahead then reads for itself, as it does
// without one.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

namespace kelbrin {

class SourceReadAhead {
public:
    static constexpr std::int64_t kBlockSize = 1 << 19;
    // Bytes before each block where the tail of the block before it may be
    // copied, so that bytes asked for across the border stay in one piece.
    static constexpr std::int64_t kHeadroom = 1 << 14;
    // The thread's blocks; the taker has one more of its own.
    static constexpr int kBlocks = 3;

    struct Block {
        const std::uint8_t* data = nullptr;
        std::int64_t start = 0;  // the file's offset of data[0]
        std::int64_t length = 0; // the bytes carried and read; -1 after a failed read
        bool last = false;       // the file ended in it, or its read failed
    };

    // Reads `fd` from `offset` on (a multiple of the page size); nothing when
    // there is no memory or no thread for it.
    static std::unique_ptr<SourceReadAhead> Start(int fd, std::int64_t offset);
    ~SourceReadAhead();
    SourceReadAhead(const SourceReadAhead&) = delete;
    SourceReadAhead& operator=(const SourceReadAhead&) = delete;

    // The block after the one taken last, once it is read, preceded by a copy
    // of the `carried` bytes (at most kHeadroom) at `before`, the ones that
    // come right before it in the file. The block taken before goes back to
    // the thread. After a short or failed block there is nothing more to take.
    Block take(const std::uint8_t* before, std::int64_t carried);

private:
    struct Memory;
    SourceReadAhead(int fd, std::int64_t offset, std::unique_ptr<Memory> memory);
    void run();
    std::int64_t claimNext();
    bool claim(std::int64_t block);
    std::int64_t readBlock(std::int64_t block, std::uint8_t* slot);
    bool waitForBlock(std::int64_t block);
    void wake();

    const int m_fd;
    const std::int64_t m_offset;
    std::unique_ptr<Memory> m_memory;
    // By slot: the length read into it, and the number of the block it holds
    // plus one, once read (0: none yet). The taker's own slot is the last.
    std::int64_t m_lengths[kBlocks + 1] = {};
    std::atomic<std::int64_t> m_ready[kBlocks] = {};
    // The blocks claimed for reading, and the blocks taken: a block may be
    // claimed while it is less than taken - 1 + kBlocks (the one taken last
    // stays put).
    std::atomic<std::int64_t> m_claimed{0};
    std::atomic<std::int64_t> m_taken{0};
    std::atomic<bool> m_stop{false};
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::thread m_thread;
};

} // namespace kelbrin
