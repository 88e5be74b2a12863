#pragma once
// Rewriting one frame header in place, the one way every header writer of the
// editor changes a file. A CRC-protected Layer III frame gets its CRC computed
// anew whenever header bytes 3 or 4 change, since the CRC covers them. A
// protected Layer I or II frame whose bytes 3 or 4 would change is left alone:
// its CRC also covers the bit allocation, which is not worked out here.

#include <cstdint>

namespace kelbrin {

class InPlaceFile;

enum class HeaderWriteStatus {
    Unchanged,        // the file already holds these bytes
    Written,          // header (and CRC) written
    SkippedProtected, // protected Layer I/II frame, left as it was
    NotAHeader,       // no frame header at the position (a header was required)
    OutsideFile,      // the header would not lie wholly inside the file
    Failed,           // a read or write failed; the file's error says why
};

struct FrameHeaderBytes {
    std::uint8_t byte2 = 0;
    std::uint8_t byte3 = 0;
    std::uint8_t byte4 = 0;
};

// Writes 0xFF and the three bytes (byte 2 with its sync bits set) at the
// 0-based position. With requireHeader the position must already hold a frame
// header (its 0xFF and three sync bits).
HeaderWriteStatus RewriteFrameHeader(InPlaceFile& file, std::int64_t position,
                                     FrameHeaderBytes header, bool requireHeader);

// Sets or clears the private bit of the frame header at the position, which
// must hold one; *newByte3 receives the byte 3 the file then holds.
HeaderWriteStatus SetPrivateBit(InPlaceFile& file, std::int64_t position, bool bit,
                                std::uint8_t* newByte3);

} // namespace kelbrin
