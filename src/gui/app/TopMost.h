#pragma once

class QWidget;

namespace kelbrin {

// Puts a window into (true) or out of the band of windows that stay above all
// others, without moving, resizing, showing or hiding it.
void SetTopMost(QWidget* window, bool onTop);

} // namespace kelbrin
