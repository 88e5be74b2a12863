#include "MusicCrc.h"

#include <array>

namespace kelbrin {

namespace {

// Sixteen bytes a step: kTables[k][b] is the sum of byte b followed by k zero
// bytes. Byte by byte, the sum of a large output would take longer than its copy.
using Tables = std::array<std::array<std::uint16_t, 256>, 16>;

constexpr Tables makeTables() {
    Tables tables{};
    for (unsigned byte = 0; byte < 256; ++byte) {
        unsigned crc = byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
        tables[0][byte] = static_cast<std::uint16_t>(crc);
    }
    for (std::size_t k = 1; k < tables.size(); ++k)
        for (std::size_t byte = 0; byte < 256; ++byte)
            tables[k][byte] = static_cast<std::uint16_t>((tables[k - 1][byte] >> 8) ^
                                                         tables[0][tables[k - 1][byte] & 0xFF]);
    return tables;
}

constexpr Tables kTables = makeTables();

} // namespace

void MusicCrc::add(const void* data, std::int64_t count) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    unsigned crc = m_crc;
    for (; count >= 16; count -= 16, p += 16) {
        const unsigned first = (p[0] | (p[1] << 8)) ^ crc;
        crc = kTables[15][first & 0xFF] ^ kTables[14][first >> 8] ^ kTables[13][p[2]] ^
              kTables[12][p[3]] ^ kTables[11][p[4]] ^ kTables[10][p[5]] ^ kTables[9][p[6]] ^
              kTables[8][p[7]] ^ kTables[7][p[8]] ^ kTables[6][p[9]] ^ kTables[5][p[10]] ^
              kTables[4][p[11]] ^ kTables[3][p[12]] ^ kTables[2][p[13]] ^ kTables[1][p[14]] ^
              kTables[0][p[15]];
    }
    for (; count > 0; --count, ++p)
        crc = (crc >> 8) ^ kTables[0][(crc ^ *p) & 0xFF];
    m_crc = static_cast<std::uint16_t>(crc);
}

} // namespace kelbrin
