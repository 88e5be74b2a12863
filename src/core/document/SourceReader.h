#pragma once
// Checked, block-buffered reading of a source file for one operation: the file
// is opened read-only when the reader is made and closed when it goes. Offsets
// are 0-based and 64-bit.

#include <QFile>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <memory>

namespace kelbrin {

class SourceReadAhead;

class SourceReader {
public:
    // Small enough that a block just read is still in the core's own cache
    // when the frame walk reads its headers (each frame's header is a fetch
    // the next frame's place waits on), large enough to hold the probe's read
    // and to keep the number of reads low.
    static constexpr std::int64_t kBlockSize = 1 << 18;
    static constexpr std::int64_t kAlignment = 4096;

    explicit SourceReader(const QString& path);
    ~SourceReader();
    SourceReader(const SourceReader&) = delete;
    SourceReader& operator=(const SourceReader&) = delete;

    bool isOpen() const { return m_open; }
    // Whether the fills to come go forward through the file: blocks are then
    // read ahead on threads of their own while the caller works on the one
    // before. Turning it off waits for those threads.
    void readAhead(bool on);
    std::int64_t size() const { return m_size; }
    // A read or seek failed (an end of file is not a failure).
    bool failed() const { return m_failed; }

    // Reads up to `count` bytes at `offset`; the number read (short at the end
    // of the file), or -1 when the read fails.
    std::int64_t readAt(std::int64_t offset, void* destination, std::int64_t count);

    // Makes the bytes from `offset` readable through data(), refilling the
    // block when fewer than `wanted` of them are buffered. Returns how many
    // bytes from `offset` are buffered; fewer than wanted only at the end of the
    // file or after a failure.
    std::int64_t fill(std::int64_t offset, std::int64_t wanted) {
        // The scanner asks once a frame: the buffered case stays inline.
        const std::int64_t buffered = m_blockStart + m_blockLength - offset;
        if (offset >= m_blockStart && buffered >= wanted)
            return buffered;
        return refill(offset, wanted);
    }
    // How many bytes from `offset` are buffered, without reading any; 0 when
    // `offset` lies outside the block.
    std::int64_t buffered(std::int64_t offset) const {
        return offset >= m_blockStart ? std::max<std::int64_t>(m_blockStart + m_blockLength - offset, 0)
                                      : 0;
    }
    // The buffered byte at `offset`; valid for the range the last fill returned.
    const std::uint8_t* data(std::int64_t offset) const {
        return m_blockData + (offset - m_blockStart);
    }

private:
    std::int64_t refill(std::int64_t offset, std::int64_t wanted);
    std::int64_t refillFromAhead(std::int64_t offset, std::int64_t wanted);
    void stopReadAhead();

    QFile m_file;
    bool m_open = false;
    bool m_failed = false;
    std::int64_t m_size = 0;
    // The block buffer; a standard-sized one is handed on to the next reader,
    // so that opening file after file does not fault in fresh memory each time.
    std::unique_ptr<std::uint8_t[]> m_block;
    std::uint8_t* m_blockBase = nullptr; // the block's first aligned byte
    std::int64_t m_blockCapacity = 0;    // bytes from m_blockBase on
    // The bytes buffered: in the block, or in the read-ahead's.
    const std::uint8_t* m_blockData = nullptr;
    std::int64_t m_blockStart = 0;
    std::int64_t m_blockLength = 0;
    bool m_aheadWanted = false;
    // Made after the file and gone before it: its threads read the file.
    std::unique_ptr<SourceReadAhead> m_ahead;
    std::int64_t m_aheadNext = 0; // where the read-ahead's next block starts
    bool m_aheadDone = false;     // its last block is taken
};

} // namespace kelbrin
