#include "FrameOffsets.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace kelbrin {

FrameOffsets::~FrameOffsets() { std::free(m_data); }

FrameOffsets::FrameOffsets(const FrameOffsets& other) { *this = other; }

FrameOffsets& FrameOffsets::operator=(const FrameOffsets& other) {
    if (this == &other)
        return *this;
    truncate(0);
    if (other.m_size > 0) {
        resizeBlock(other.m_size);
        std::memcpy(m_data, other.m_data, other.m_size * sizeof(std::int64_t));
        m_size = other.m_size;
    }
    return *this;
}

FrameOffsets::FrameOffsets(FrameOffsets&& other) noexcept { *this = std::move(other); }

FrameOffsets& FrameOffsets::operator=(FrameOffsets&& other) noexcept {
    if (this != &other) {
        std::free(m_data);
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
        m_capacity = std::exchange(other.m_capacity, 0);
    }
    return *this;
}

// realloc keeps the written entries; for a large block it remaps the pages
// instead of copying them, and pages never written stay unbacked.
void FrameOffsets::resizeBlock(std::size_t entries) {
    if (entries == 0) {
        std::free(m_data);
        m_data = nullptr;
        m_capacity = 0;
        return;
    }
    void* block = std::realloc(m_data, entries * sizeof(std::int64_t));
    if (!block)
        throw std::bad_alloc();
    m_data = static_cast<std::int64_t*>(block);
    m_capacity = entries;
}

void FrameOffsets::reserve(std::size_t entries) {
    if (entries > m_capacity)
        resizeBlock(entries);
}

void FrameOffsets::setSlow(std::size_t index, std::int64_t value) {
    if (index >= m_capacity)
        resizeBlock(std::max({index + 1, m_capacity + m_capacity / 2, std::size_t(1024)}));
    if (index > m_size)
        std::memset(m_data + m_size, 0, (index - m_size) * sizeof(std::int64_t));
    m_data[index] = value;
    m_size = std::max(m_size, index + 1);
}

void FrameOffsets::append(const std::int64_t* values, std::size_t count) {
    while (m_size + count > m_capacity)
        resizeBlock(std::max({m_capacity + 1, m_capacity + m_capacity / 2, std::size_t(1024)}));
    std::memcpy(m_data + m_size, values, count * sizeof(std::int64_t));
    m_size += count;
}

void FrameOffsets::truncate(std::size_t entries) {
    m_size = std::min(m_size, entries);
    if (entries < m_capacity)
        resizeBlock(entries);
}

} // namespace kelbrin
