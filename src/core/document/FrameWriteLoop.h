#pragma once
// The loop shared by the in-place writes that touch the header of every
// indexed frame of a source file: opens the existing file, visits frames 1..n
// with a progress step every ten frames, counts what was written or left
// alone, and stops at the first frame that cannot be written.

#include "HeaderRewrite.h"
#include "SourceWriteHost.h"

#include <QString>
#include <cstdint>
#include <functional>

namespace kelbrin {

class InPlaceFile;
class cPozycjaPlikow;

// Writes one frame (1-based) into the open file and says what happened.
using FrameWrite = std::function<HeaderWriteStatus(InPlaceFile& file, std::int32_t frame)>;

// Writes into `file.strFileName` the frames of the file's index. A file
// changed since it was scanned is written only when every frame the index
// knows is still where it was; else nothing is written (FramesMoved).
SourceWriteResult WriteFramesInPlace(cPozycjaPlikow& file, SourceWriteHost& host,
                                     const FrameWrite& write);

} // namespace kelbrin
