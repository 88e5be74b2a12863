#pragma once
// Writes the frame headers edited in the frame header editor back into the
// source file, in place: for each frame whose stored byte 2 has its
// not-edited bit (0x40) clear, 0xFF and the stored bytes 2 (sync bits set
// again), 3 and 4 at the frame's stored position. Nothing else of the file
// changes, except the CRC of a protected Layer III frame whose bytes 3 or 4
// changed. The edit marks stay, so a later write-back writes the same bytes.

#include "SourceWriteHost.h"

namespace kelbrin {

class cPozycjaPlikow;

// The frame carries a header edit that the write-back will write.
inline bool IsFrameEdited(std::uint8_t storedByte2) {
    return (storedByte2 & 0x40) == 0;
}

// The file must exist; it is never created. Yields every 10 frames. A write
// that finished leaves the file with no header edit unwritten.
SourceWriteResult WriteBackHeaders(cPozycjaPlikow& file, SourceWriteHost& host);

} // namespace kelbrin
