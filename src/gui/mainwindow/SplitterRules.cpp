#include "SplitterRules.h"

#include <algorithm>
#include <cmath>

namespace kelbrin {

SplitterStep TreeSplitterMove(bool leftButtonOnly, double x, double y, double treeTop, double treeHeight,
                              double outerWidth) {
    SplitterStep step;
    const double bottom = treeTop + treeHeight;
    if (y >= treeTop + 10 && y <= bottom - 10 && x < std::abs(outerWidth - 300))
        step.pointer = SplitterPointer::SizeWE;
    if (y >= treeTop && y <= bottom) {
        if (leftButtonOnly && x > 50 && x < outerWidth - 500)
            step.edge = x;
    } else {
        step.pointer = SplitterPointer::Arrow;
    }
    return step;
}

SplitterStep PanelLineMove(bool leftButtonOnly, double x, double y, double lineX, double lineTop, double minX,
                           double maxX) {
    SplitterStep step;
    step.pointer = x > lineX - 100 && x < lineX + 100 && y > lineTop + 80 ? SplitterPointer::SizeWE
                                                                         : SplitterPointer::Arrow;
    // The line keeps clear of the controls on its left, and keeps the seek
    // bar on its right at least as wide as designed; the second rule wins in
    // a panel too narrow for both.
    if (leftButtonOnly)
        step.edge = std::min(std::max(x, minX), maxX);
    return step;
}

} // namespace kelbrin
