#pragma once
// The CRC-16 that the encoder's tag in an Info frame keeps of the frames
// behind that frame (reflected polynomial 0x8005, start 0; the tag's own CRC
// is the same sum). Players and checkers compare it with the frames they
// read, so an output sums the bytes it is given as they are written.

#include <cstdint>

namespace kelbrin {

class MusicCrc {
public:
    void add(const void* data, std::int64_t count);
    std::uint16_t value() const { return m_crc; }

    static std::uint16_t Of(const void* data, std::int64_t count) {
        MusicCrc crc;
        crc.add(data, count);
        return crc.value();
    }

private:
    std::uint16_t m_crc = 0;
};

} // namespace kelbrin
