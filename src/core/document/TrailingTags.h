#pragma once
// Where a source's audio ends: before the tags that writers append behind the
// frames. An ID3v1 tag comes last; an APEv2 (or APEv1) tag and a Lyrics3 block
// may stand in front of it, in either order. A frame whose length reaches into
// one of them is no whole frame, and the tag's bytes are no audio.

#include <cstdint>
#include <functional>

namespace kelbrin {

// Reads exactly `count` bytes at a 0-based position; false when it cannot.
using ReadExactly = std::function<bool(std::int64_t position, char* to, std::int64_t count)>;

// The number of bytes before the trailing tags of a file of `size` bytes;
// -1 when a tag's place cannot be read.
std::int64_t AudioEndBeforeTags(std::int64_t size, const ReadExactly& read);

} // namespace kelbrin
