#pragma once
// One output file of an export: a whole file that replaces its target only
// once it is complete, so the target is either the old file or the whole new
// one (see SafeFileWriter).

#include "platform/files/SafeFileWriter.h"

namespace kelbrin {

using SaveTarget = SafeFileWriter;

} // namespace kelbrin
