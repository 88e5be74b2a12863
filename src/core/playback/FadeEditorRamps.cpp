#include "FadeEditorRamps.h"

#include "PlayMath.h"

#include <algorithm>

namespace kelbrin {

double FadeEditorRampShare(double stop, double position, double lead, double fadeTime) {
    if (!(fadeTime > 0))
        return 0;
    return std::clamp((stop - (position + lead)) / fadeTime, 0.0, 1.0);
}

int FadeEditorRampVolume(int from, int to, double share) {
    const double r = std::clamp(share, 0.0, 1.0);
    return ClampVolume(to + (double(from) - to) * r);
}

} // namespace kelbrin
