#include "SourceReadAhead.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <new>
#include <system_error>

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

namespace kelbrin {

namespace {

constexpr std::int64_t kAlignment = 4096;
constexpr std::int64_t kSlotSize = SourceReadAhead::kHeadroom + SourceReadAhead::kBlockSize;
constexpr int kOwnSlot = SourceReadAhead::kSlots;
constexpr std::int64_t kMemorySize = (SourceReadAhead::kSlots + 1) * kSlotSize + kAlignment;
// How long a taker waits for a block its thread reads before it reads the
// block itself: about twice as long as a block takes to read.
constexpr std::chrono::microseconds kWaitTime{100};

// Processors that nothing is ready to run on just now, this thread aside:
// read ahead on a busy machine, the threads would only take turns with the
// reader (and with everybody else).
int idleProcessors() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) != 0)
        return 0;
    const int processors = CPU_COUNT(&set);
    // "0.52 0.58 0.59 3/812 4711": the tasks ready to run, of all.
    const int fd = ::open("/proc/loadavg", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    char text[128] = {};
    const ssize_t got = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    const char* slash = got > 0 ? std::strchr(text, '/') : nullptr;
    if (!slash)
        return 0;
    const char* digits = slash;
    while (digits > text && digits[-1] >= '0' && digits[-1] <= '9')
        --digits;
    int running = 0;
    for (const char* c = digits; c < slash; ++c)
        running = running * 10 + (*c - '0');
    return processors - std::max(running, 1);
}

void pause() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

} // namespace

// The blocks' memory; one set is kept between read-aheads, so that indexing
// file after file does not fault in fresh pages each time.
struct SourceReadAhead::Memory {
    std::unique_ptr<std::uint8_t[]> bytes;
    std::uint8_t* slots[kSlots + 1] = {}; // each slot's headroom, on a page boundary

    static std::unique_ptr<Memory> Get() {
        {
            const std::lock_guard<std::mutex> guard(spareLock());
            if (spare())
                return std::move(spare());
        }
        auto memory = std::unique_ptr<Memory>(new (std::nothrow) Memory);
        if (!memory)
            return nullptr;
        // The bytes are read over before anyone looks at them: no need to clear them.
        memory->bytes.reset(new (std::nothrow) std::uint8_t[kMemorySize]);
        if (!memory->bytes)
            return nullptr;
        const auto address = reinterpret_cast<std::uintptr_t>(memory->bytes.get());
        std::uint8_t* first =
            memory->bytes.get() + (kAlignment - address % kAlignment) % kAlignment;
        for (int i = 0; i <= kSlots; ++i)
            memory->slots[i] = first + i * kSlotSize;
        return memory;
    }
    static void Keep(std::unique_ptr<Memory> memory) {
        const std::lock_guard<std::mutex> guard(spareLock());
        if (!spare())
            spare() = std::move(memory);
    }

private:
    static std::mutex& spareLock() {
        static std::mutex lock;
        return lock;
    }
    static std::unique_ptr<Memory>& spare() {
        static std::unique_ptr<Memory> memory;
        return memory;
    }
};

std::unique_ptr<SourceReadAhead> SourceReadAhead::Start(int fd, std::int64_t offset) {
    if (fd < 0 || offset < 0 || offset % kAlignment != 0)
        return nullptr;
    const int threads = std::clamp(idleProcessors(), 0, kThreads);
    std::unique_ptr<Memory> memory = Memory::Get();
    if (!memory)
        return nullptr;
    std::unique_ptr<SourceReadAhead> ahead(
        new (std::nothrow) SourceReadAhead(fd, offset, std::max(threads, 1), std::move(memory)));
    if (!ahead)
        return nullptr;
    // A block whose thread is missing is read by the taker.
    for (int thread = 0; thread < threads; ++thread) {
        try {
            ahead->m_threads[thread] =
                std::thread([raw = ahead.get(), thread] { raw->run(thread); });
        } catch (const std::system_error&) {
            break;
        }
    }
    return ahead;
}

SourceReadAhead::SourceReadAhead(int fd, std::int64_t offset, int threads,
                                 std::unique_ptr<Memory> memory)
    : m_fd(fd), m_offset(offset), m_threadCount(threads), m_memory(std::move(memory)) {
    for (int thread = 0; thread < m_threadCount; ++thread)
        m_claimed[thread].store(thread);
}

SourceReadAhead::~SourceReadAhead() {
    m_stop.store(true);
    wake();
    for (std::thread& thread : m_threads) {
        if (thread.joinable())
            thread.join();
    }
    if (m_memory)
        Memory::Keep(std::move(m_memory));
}

// Tells whoever sleeps that a block was read or taken, or that the threads
// are to stop. Changes made before it are seen by a sleeper who wakes.
void SourceReadAhead::wake() {
    { const std::lock_guard<std::mutex> guard(m_lock); }
    m_changed.notify_all();
}

void SourceReadAhead::run(int thread) {
    for (;;) {
        const std::int64_t block = claimNext(thread);
        if (block < 0)
            return;
        const int slot = slotOf(block);
        const std::int64_t length = readBlock(block, m_memory->slots[slot]);
        m_lengths[slot] = length;
        m_ready[slot].store(block + 1, std::memory_order_release);
        wake();
        if (length != kBlockSize)
            return;
    }
}

// Claims the thread's next block, once there is room for it; -1 when the
// read-ahead is to stop. The thread alone writes its slots, in order: the
// block it claims goes where one taken before lies.
std::int64_t SourceReadAhead::claimNext(int thread) {
    for (;;) {
        const auto roomy = [this, thread] {
            return m_stop.load() || m_claimed[thread].load() < m_taken.load() + room();
        };
        if (!roomy()) {
            std::unique_lock<std::mutex> guard(m_lock);
            m_changed.wait(guard, roomy);
        }
        if (m_stop.load())
            return -1;
        const std::int64_t next = m_claimed[thread].load();
        if (next < m_taken.load() + room() && claim(next))
            return next;
    }
}

// Only a block's thread and the taker claim it, each its next one.
bool SourceReadAhead::claim(std::int64_t block) {
    std::int64_t expected = block;
    return m_claimed[block % m_threadCount].compare_exchange_strong(expected,
                                                                    block + m_threadCount);
}

// The bytes read into the block's slot: kBlockSize, fewer at the file's end,
// or -1 when a read failed.
std::int64_t SourceReadAhead::readBlock(std::int64_t block, std::uint8_t* slot) {
    std::uint8_t* const into = slot + kHeadroom;
    const std::int64_t offset = m_offset + block * kBlockSize;
    std::int64_t done = 0;
    while (done < kBlockSize && !m_stop.load(std::memory_order_relaxed)) {
        const ssize_t got =
            ::pread(m_fd, into + done, std::size_t(kBlockSize - done), off_t(offset + done));
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        done += got;
    }
    return done;
}

// Waits a little for the thread to finish reading the block; false when it
// did not.
bool SourceReadAhead::waitForBlock(std::int64_t block) {
    const auto ready = [this, block] {
        return m_ready[slotOf(block)].load(std::memory_order_acquire) == block + 1;
    };
    const auto until = std::chrono::steady_clock::now() + kWaitTime;
    while (!ready()) {
        for (int i = 0; i < 64; ++i)
            pause();
        if (std::chrono::steady_clock::now() > until)
            return ready();
    }
    return true;
}

SourceReadAhead::Block SourceReadAhead::take(const std::uint8_t* before, std::int64_t carried) {
    const std::int64_t block = m_taken.load(std::memory_order_relaxed);
    int slot = slotOf(block);
    if (m_ready[slot].load(std::memory_order_acquire) != block + 1 &&
        (claim(block) || !waitForBlock(block))) {
        // Not begun, or the thread is slow about it: read here, into the
        // taker's own slot (the bytes carried may lie in it: they move first).
        slot = kOwnSlot;
        std::uint8_t* const own = m_memory->slots[kOwnSlot] + kHeadroom;
        if (carried > 0 && carried <= kHeadroom)
            std::memmove(own - carried, before, std::size_t(carried));
        before = own - carried;
        m_lengths[kOwnSlot] = readBlock(block, m_memory->slots[kOwnSlot]);
    }
    std::uint8_t* const data = m_memory->slots[slot] + kHeadroom;
    const std::int64_t length = m_lengths[slot];
    Block result;
    result.start = m_offset + block * kBlockSize;
    result.data = data;
    result.length = length;
    result.last = length != kBlockSize;
    if (length >= 0 && carried > 0 && carried <= kHeadroom) {
        if (before != data - carried)
            std::memcpy(data - carried, before, std::size_t(carried));
        result.data -= carried;
        result.start -= carried;
        result.length += carried;
    }
    m_taken.store(block + 1, std::memory_order_release);
    wake();
    return result;
}

} // namespace kelbrin
