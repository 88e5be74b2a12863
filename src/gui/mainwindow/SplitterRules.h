#pragma once
// The arithmetic of the main window's two splitters, in twips: the tree's
// right edge and the line in the track panel. Each mouse move gives the
// pointer to show and, during a drag with the left button alone, the new
// place of the edge.

#include <optional>

namespace kelbrin {

enum class SplitterPointer { Unchanged, Arrow, SizeWE };

struct SplitterStep {
    SplitterPointer pointer = SplitterPointer::Unchanged;
    std::optional<double> edge; // the tree's new width, or the line's new x
};

// A move over the window's bare surface at (x, y), window coordinates. The
// tree stands at the left edge from treeTop down treeHeight; outerWidth is
// the window's width with its frame.
SplitterStep TreeSplitterMove(bool leftButtonOnly, double x, double y, double treeTop, double treeHeight,
                              double outerWidth);

// A move over the track panel's bare background at (x, y), panel
// coordinates. The line stands at lineX from lineTop down; a drag takes it to
// the pointer, not left of minX nor right of maxX (maxX wins).
SplitterStep PanelLineMove(bool leftButtonOnly, double x, double y, double lineX, double lineTop, double minX,
                           double maxX);

} // namespace kelbrin
