#pragma once
// How a track loaded from a project shows on the drawing surface.

#include <cstdint>

namespace kelbrin {

class cPozycjaMP3;

// 0x00BBGGRR: blue when locked, else magenta when it loops, else green.
std::uint32_t LoadedBoxColour(const cPozycjaMP3& track);

} // namespace kelbrin
