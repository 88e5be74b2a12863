#pragma once
// What a source file looked like when its frames were read: its size and its
// modification time. An index is only as good as the file it was made from;
// a file truncated, retagged or rewritten since then has moved its frames.

#include "platform/files/FileStamp.h"

namespace kelbrin {

using SourceStamp = FileStamp;

} // namespace kelbrin
