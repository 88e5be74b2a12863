#pragma once
// What the export must know of a source before it cuts it: whether the file
// is still the one its record was read from, and the reference header (frame
// length, sampling rate, version and layer) that Turbo and the joined-format
// check need, also when the record never had it: a project load fills in only
// the path, the id, the duration and the bit-rate kind.

#include <optional>

namespace kelbrin {

class cPozycjaPlikow;

// The record holds a usable reference header.
bool HasReferenceHeader(const cPozycjaPlikow& file);

// The file was read by the scanner and has since changed size or time.
bool ChangedSinceRead(const cPozycjaPlikow& file);

// Drops the index and the reference header, keeping the record's identity
// (path, id, flags), so that the next scan reads the file from scratch.
void ForgetWhatWasRead(cPozycjaPlikow& file);

// A copy of the record without its index, with the reference header read from
// the file the way the scanner's first pass reads it; nothing when the file
// holds no run of frames or cannot be read.
std::optional<cPozycjaPlikow> WithHeaderFromFile(const cPozycjaPlikow& file);

} // namespace kelbrin
