#include "LoadedTrackView.h"

#include "core/document/cPozycjaMP3.h"

namespace kelbrin {

std::uint32_t LoadedBoxColour(const cPozycjaMP3& t) {
    if (t.blnZablokowany)
        return 0xFF0000;
    if (t.lngLoopCountBackup > 0)
        return 0xFF00FF;
    return 0x00FF00;
}

} // namespace kelbrin
