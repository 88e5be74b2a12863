#pragma once
// The frame positions of an index, stored so that a long file costs little:
// the block grows geometrically in place (a large block is moved by the
// system's page tables, never copied element by element), room reserved ahead
// takes no memory until written, and trimming gives back the tail without a
// copy. Entries past those written read as 0.

#include <cstddef>
#include <cstdint>

namespace kelbrin {

class FrameOffsets {
public:
    FrameOffsets() = default;
    ~FrameOffsets();
    FrameOffsets(const FrameOffsets& other);
    FrameOffsets& operator=(const FrameOffsets& other);
    FrameOffsets(FrameOffsets&& other) noexcept;
    FrameOffsets& operator=(FrameOffsets&& other) noexcept;

    // Entries written so far (0 to size - 1); reads above give 0.
    std::size_t size() const { return m_size; }
    std::size_t capacity() const { return m_capacity; }
    std::int64_t at(std::size_t index) const { return index < m_size ? m_data[index] : 0; }
    // Writes one entry; entries skipped on the way become 0.
    void set(std::size_t index, std::int64_t value) {
        if (index == m_size && index < m_capacity) { // appending with room to spare
            m_data[m_size++] = value;
            return;
        }
        setSlow(index, value);
    }
    // Writes `count` entries after the last one, growing the block in the
    // same steps as writing them one by one.
    void append(const std::int64_t* values, std::size_t count);
    // Room for `entries` without moving; never shrinks.
    void reserve(std::size_t entries);
    // Forgets the entries from `entries` on and gives their room back.
    void truncate(std::size_t entries);

private:
    void setSlow(std::size_t index, std::int64_t value);
    void resizeBlock(std::size_t entries);

    std::int64_t* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
};

} // namespace kelbrin
