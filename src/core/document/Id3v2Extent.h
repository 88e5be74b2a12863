#pragma once
// Where the audio behind an ID3v2 tag begins. The tag's header tells its
// size, but some writers get it wrong and claim more bytes than the tag has:
// skipped blindly, such a size jumps over the first frames of the audio, or
// past the whole file.

#include <cstdint>

namespace kelbrin {

class SourceReader;

// The full length (header included) that the ID3v2 tag header at `p` (10
// bytes) claims, or -1 when there is no tag header there.
std::int64_t Id3v2ClaimedLength(const std::uint8_t* p);

// The offset where the audio after the tag at `tagStart` begins: where its
// header says the tag ends, unless no frames follow there while a chain of
// frames begins right behind the tag's last frame (and its zero padding).
std::int64_t Id3v2AudioStart(SourceReader& reader, std::int64_t tagStart);

} // namespace kelbrin
