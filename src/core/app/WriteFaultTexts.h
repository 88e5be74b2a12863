#pragma once
// The numbers of the texts that say why a write failed and what became of
// the file: kept apart from TextNumbers.h, so the few places that say them
// are the only ones that need them.

namespace kelbrin::texts {

constexpr int kWriteFailedPutBack = 7400;   // |1 the file, |2 the frame, |3 the system's reason
constexpr int kChangedPutBack = 7401;       // |1 the file, |2 the frame no longer in place
constexpr int kOutsidePutBack = 7402;       // |1 the frame, |2 the file
constexpr int kHeadersNotPutBack = 7403;    // |1 the file, |2 the frame, |3 the system's reason
constexpr int kReplacedWhileWritten = 7404; // |1 the file
constexpr int kWriteFailedWhy = 7405;       // |1 the export output, |2 the system's reason: saving stopped
constexpr int kSideFileFailedWhy = 7406;    // |1 the CUE sheet or playlist, |2 the system's reason

} // namespace kelbrin::texts
