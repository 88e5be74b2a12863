#include "cPozycjaPlikow.h"

#include "MpegHeader.h"
#include "core/app/Numbers.h"

#include <algorithm>
#include <stdexcept>

namespace kelbrin {

namespace {
constexpr std::int32_t kGrowthStep = 1000;
// An estimate only reserves address room, never memory; past this many entries
// (a 128 MiB block) the index grows as frames are found instead, so that a
// huge or sparse file cannot ask for an absurd block up front.
constexpr std::int64_t kLargestReservation = std::int64_t(1) << 24;
} // namespace

void cPozycjaPlikow::setUpperBound(std::int32_t bound) {
    m_upperBound = bound;
    if (blnExtraArray) {
        const auto elements = static_cast<std::size_t>(bound) + 1;
        m_header2.resize(elements, 0);
        m_header3.resize(elements, 0);
        m_header4.resize(elements, 0);
    }
}

void cPozycjaPlikow::Oszacuj(std::int64_t size) {
    if (lngD1Ramki == 0)
        throw std::domain_error("Division by zero");
    const std::int64_t estimate = size / lngD1Ramki;
    if (estimate > IndexUpperBound())
        setUpperBound(static_cast<std::int32_t>(estimate));
    // The reference length is rounded: frames a byte shorter fit more of them
    // in the file than the estimate says, and in a file known to vary, frames
    // of any bit rate down to the lowest. Room for those too spares growing,
    // and copying, the whole index for its last frames.
    std::int32_t shortest = lngD1Ramki;
    if (blnVBR) {
        const auto lowestRate = static_cast<std::uint8_t>(0x10 | (btyFrame3 & 0x0C));
        shortest =
            std::min(lngD1Ramki, std::max(mpeg::UnpaddedFrameLength(btyFrame2, lowestRate), 10));
    }
    const std::int64_t room = size / std::max<std::int32_t>(shortest - 1, 1);
    m_offsets.reserve(static_cast<std::size_t>(std::min(room, kLargestReservation)) + 1);
}

void cPozycjaPlikow::Wyrownaj() {
    setUpperBound(m_frameCount);
    m_offsets.truncate(static_cast<std::size_t>(m_frameCount) + 1);
    if (blnExtraArray) {
        m_header2.shrink_to_fit();
        m_header3.shrink_to_fit();
        m_header4.shrink_to_fit();
    }
}

void cPozycjaPlikow::addHeader(std::int64_t position, std::uint8_t byte2, std::uint8_t byte3,
                               std::uint8_t byte4) {
    ++m_frameCount;
    if (IndexUpperBound() <= m_frameCount)
        setUpperBound(m_frameCount + kGrowthStep);
    m_offsets.set(static_cast<std::size_t>(m_frameCount), position);
    if (blnExtraArray) {
        // The flag may have been set after frames were indexed without it.
        if (m_header2.size() != static_cast<std::size_t>(m_upperBound) + 1)
            setUpperBound(m_upperBound);
        m_header2[m_frameCount] = byte2;
        m_header3[m_frameCount] = byte3;
        m_header4[m_frameCount] = byte4;
    }
}

void cPozycjaPlikow::AddFramePositions(const std::int64_t* positions, std::int32_t count) {
    Q_ASSERT(!blnExtraArray);
    // Neither the bound nor a gap in the index to deal with: one copy.
    if (count > 0 && m_frameCount + count < m_upperBound &&
        m_offsets.size() == static_cast<std::size_t>(m_frameCount) + 1) {
        m_offsets.append(positions, static_cast<std::size_t>(count));
        m_frameCount += count;
        return;
    }
    for (std::int32_t i = 0; i < count; ++i)
        Add_Naglowek(positions[i], 0, 0, 0);
}

void cPozycjaPlikow::Naglowek_Przypisz(std::int32_t which, std::int32_t index, std::int64_t value) {
    std::vector<std::uint8_t>* bytes = nullptr;
    switch (which) {
    case 0:
        if (index < 0 || index > m_upperBound)
            throw std::out_of_range("Subscript out of range");
        m_offsets.set(static_cast<std::size_t>(index), value);
        return;
    case 2:
        bytes = &m_header2;
        break;
    case 3:
        bytes = &m_header3;
        break;
    case 4:
        bytes = &m_header4;
        break;
    default:
        return;
    }
    if (value < 0 || value > 255)
        throw std::overflow_error("Overflow");
    bytes->at(static_cast<std::size_t>(index)) = static_cast<std::uint8_t>(value);
}

std::int64_t cPozycjaPlikow::Daj_Naglowek_Offset(double index) const {
    const std::int64_t i = RoundHalfEven(index);
    if (i < 0 || i > IndexUpperBound())
        throw std::out_of_range("Subscript out of range");
    return m_offsets.at(static_cast<std::size_t>(i));
}

std::uint8_t cPozycjaPlikow::headerByte(const std::vector<std::uint8_t>& bytes,
                                        std::int32_t index) {
    return bytes.at(static_cast<std::size_t>(index));
}

std::uint8_t cPozycjaPlikow::Daj_Naglowek_Header2(std::int32_t index) const {
    return headerByte(m_header2, index);
}
std::uint8_t cPozycjaPlikow::Daj_Naglowek_Header3(std::int32_t index) const {
    return headerByte(m_header3, index);
}
std::uint8_t cPozycjaPlikow::Daj_Naglowek_Header4(std::int32_t index) const {
    return headerByte(m_header4, index);
}

std::int64_t cPozycjaPlikow::IndexMemoryBytes() const {
    return static_cast<std::int64_t>(m_offsets.capacity() * sizeof(std::int64_t) +
                                     m_header2.capacity() + m_header3.capacity() +
                                     m_header4.capacity());
}

} // namespace kelbrin
