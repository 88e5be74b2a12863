#include "PlaybackGraph.h"

#include <algorithm>
#include <cmath>

namespace kelbrin {

double GainOfVolume(int hundredthsDb) {
    if (hundredthsDb <= -10000)
        return 0.0;
    return std::pow(10.0, std::min(hundredthsDb, 0) / 2000.0);
}

} // namespace kelbrin
