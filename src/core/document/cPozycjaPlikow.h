#pragma once
// One open source file: its path and id, its duration, the reference header the
// frame scanner fixed, and the frame index the scanner builds.
//
// Frames are numbered from 1; element 0 of the index holds no frame. A frame's
// position is the 1-based file position of its first header byte (the 0xFF),
// kept as a 64-bit integer so files past 4 GiB stay exact. The header bytes
// 2 to 4 are kept only while blnExtraArray is set (the frame header editor and
// the hidden-text tool need them); byte 1 is always 0xFF.

#include "FrameOffsets.h"
#include "SourceStamp.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace kelbrin {

class cPozycjaPlikow {
public:
    std::int32_t lngD1Ramki = 0;         // reference frame length without padding
    std::uint8_t btyFrame2 = 0;          // reference header byte 2 as read
    std::uint8_t btyFrame3 = 0;          // reference header byte 3 as read
    std::int64_t dblMaxOffsetLoaded = 0; // position up to which a track-driven build got
    std::int32_t lngMaxFrameLoaded = 0;
    bool blnLoadedFull = false;    // the whole file is in the index
    std::int32_t lngNrPozycji = 0; // file id
    QString strFileName;           // full path
    float sngCzasTrwania = 0;      // duration in seconds
    bool blnVBR = false;
    bool blnZmodyfikowana = false; // frame headers were edited
    // Frame headers were edited since the last write-back that finished: the
    // edits are only in the index, and replacing the open files loses them.
    bool headerEditsUnwritten = false;
    bool blnNoSave = false;        // not usable as a source when saving
    bool blnExtraArray = false;    // keep header bytes 2-4 of every frame
    bool blnListaCiec = false;
    SourceStamp stampRead;         // the file as it was when the scanner last read it
    bool formatChangeShown = false; // the user was told where the file's format changes

    // Pre-sizes the index for a file of `size` bytes: size / lngD1Ramki entries.
    // Never shrinks. std::domain_error when lngD1Ramki is 0. The estimate
    // only reserves room: memory is taken as frames are found.
    void Oszacuj(std::int64_t size);
    // Trims the index to the frames it holds.
    void Wyrownaj();
    // Appends one frame (growing the index by 1000 entries when it is full).
    void Add_Naglowek(std::int64_t position, std::uint8_t byte2, std::uint8_t byte3,
                      std::uint8_t byte4) {
        // The scanner appends every frame: the common case, room to spare and
        // no header bytes to keep, stays inline.
        if (!blnExtraArray && m_frameCount + 1 < m_upperBound) {
            ++m_frameCount;
            m_offsets.set(static_cast<std::size_t>(m_frameCount), position);
            return;
        }
        addHeader(position, byte2, byte3, byte4);
    }
    // Appends frames whose header bytes are not kept (blnExtraArray unset),
    // as that many Add_Naglowek calls would.
    void AddFramePositions(const std::int64_t* positions, std::int32_t count);
    // Overwrites one entry: which 0 = the position, 2/3/4 = header byte 2/3/4.
    // Other values of which do nothing. std::out_of_range outside the index;
    // std::overflow_error for a header byte value outside 0..255.
    void Naglowek_Przypisz(std::int32_t which, std::int32_t index, std::int64_t value);
    // The position of frame `index`, the index rounded half to even.
    std::int64_t Daj_Naglowek_Offset(double index) const;
    std::uint8_t Daj_Naglowek_Header2(std::int32_t index) const;
    std::uint8_t Daj_Naglowek_Header3(std::int32_t index) const;
    std::uint8_t Daj_Naglowek_Header4(std::int32_t index) const;
    std::int32_t Daj_Naglowek_Ilosc() const { return m_frameCount; }

    // Highest valid index of the position array; entries past the frames
    // found read as 0.
    std::int32_t IndexUpperBound() const { return m_upperBound; }
    // Bytes the index holds in memory (room reserved but never written counts
    // too; the system gives it no memory until it is written).
    std::int64_t IndexMemoryBytes() const;

private:
    void setUpperBound(std::int32_t bound);
    void addHeader(std::int64_t position, std::uint8_t byte2, std::uint8_t byte3,
                   std::uint8_t byte4);
    static std::uint8_t headerByte(const std::vector<std::uint8_t>& bytes, std::int32_t index);

    std::int32_t m_frameCount = 0;
    std::int32_t m_upperBound = 0;
    FrameOffsets m_offsets;
    std::vector<std::uint8_t> m_header2 = std::vector<std::uint8_t>(1, 0);
    std::vector<std::uint8_t> m_header3 = std::vector<std::uint8_t>(1, 0);
    std::vector<std::uint8_t> m_header4 = std::vector<std::uint8_t>(1, 0);
};

} // namespace kelbrin
