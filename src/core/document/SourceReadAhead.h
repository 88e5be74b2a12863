#pragma once
// Reads a file's blocks one after another on threads of their own, a few
// blocks ahead of the one being worked on: the system's copy of the next
// blocks then runs while the present one is walked, instead of before it.
//
// The threads take turns, block by block, each with slots of its own. Each
// block is read by whoever comes to it first: its thread, or the taker that
// finds it not begun. The taker never sleeps on a thread: a block its thread
// is slow to finish (kept off the processor on a busy machine) it reads again
// for itself, so that the read-ahead is never much slower than reading without
// one. A thread only ever reads with pread() into its slots, in order, and
// only into one whose block is taken; it ends at the file's end, at a failed
// read, or when the read-ahead goes, which waits for it. A short or failed
// block is handed on as it is: the reader that owns the read-ahead then reads
// for itself, as it does without one.

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
    // At most; no more than there are processors idle when it starts (with
    // none, the taker reads every block itself).
    static constexpr int kThreads = 2;
    // Shared among the threads; the taker has one more of its own.
    static constexpr int kSlots = 4;

    struct Block {
        const std::uint8_t* data = nullptr;
        std::int64_t start = 0;  // the file's offset of data[0]
        std::int64_t length = 0; // the bytes carried and read; -1 after a failed read
        bool last = false;       // the file ended in it, or its read failed
    };

    // Reads `fd` from `offset` on (a multiple of the page size); nothing when
    // there is no memory for it.
    static std::unique_ptr<SourceReadAhead> Start(int fd, std::int64_t offset);
    ~SourceReadAhead();
    SourceReadAhead(const SourceReadAhead&) = delete;
    SourceReadAhead& operator=(const SourceReadAhead&) = delete;

    // The block after the one taken last, once it is read, preceded by a copy
    // of the `carried` bytes (at most kHeadroom) at `before`, the ones that
    // come right before it in the file. The block taken before goes back to
    // the threads. After a short or failed block there is nothing more to take.
    Block take(const std::uint8_t* before, std::int64_t carried);

private:
    struct Memory;
    SourceReadAhead(int fd, std::int64_t offset, int threads, std::unique_ptr<Memory> memory);
    void run(int thread);
    std::int64_t claimNext(int thread);
    bool claim(std::int64_t block);
    int slotOf(std::int64_t block) const {
        const int perThread = kSlots / m_threadCount;
        return int(block % m_threadCount) * perThread + int(block / m_threadCount % perThread);
    }
    // Blocks read or being read ahead of the one taken last.
    std::int64_t room() const { return kSlots / m_threadCount * m_threadCount - 1; }
    std::int64_t readBlock(std::int64_t block, std::uint8_t* slot);
    bool waitForBlock(std::int64_t block);
    void wake();

    const int m_fd;
    const std::int64_t m_offset;
    const int m_threadCount; // block n is thread n % m_threadCount's, started or not
    std::unique_ptr<Memory> m_memory;
    // By slot: the length read into it, and the number of the block it holds
    // plus one, once read (0: none yet). The taker's own slot is the last.
    std::int64_t m_lengths[kSlots + 1] = {};
    std::atomic<std::int64_t> m_ready[kSlots] = {};
    // By thread, the next of its blocks not claimed for reading; and the
    // blocks taken. A block may be claimed while it is less than taken +
    // room() (the one taken last stays put).
    std::atomic<std::int64_t> m_claimed[kThreads] = {};
    std::atomic<std::int64_t> m_taken{0};
    std::atomic<bool> m_stop{false};
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::thread m_threads[kThreads];
};

} // namespace kelbrin
