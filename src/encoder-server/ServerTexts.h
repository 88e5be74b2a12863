#pragma once
// The encoder server's own messages, by the names it has always used; the
// numbers live with every other text number.

#include "core/app/TextNumbers.h"

namespace kelbrin {
namespace servertext = texts;
} // namespace kelbrin
