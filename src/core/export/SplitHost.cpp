#include "SplitHost.h"

namespace kelbrin {

SplitTreeParent TreeParentForNewTrack(std::optional<std::int32_t> selectedNodeTag,
                                      std::int32_t predecessor) {
    if (!selectedNodeTag)
        return SplitTreeParent::None;
    if (*selectedNodeTag < 0)
        return SplitTreeParent::Root;
    if (*selectedNodeTag != predecessor)
        return SplitTreeParent::None;
    return predecessor == 0 ? SplitTreeParent::Start : SplitTreeParent::Selected;
}

} // namespace kelbrin
