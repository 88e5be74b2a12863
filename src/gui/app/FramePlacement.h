#pragma once

#include <QPoint>

class QWidget;

namespace kelbrin {

// Puts the frame of a shown window, title bar included, at `place` once the
// window manager has framed it. A place given before the first show, when the
// frame's size is not known yet, some managers take as the inside's, which
// puts the title bar above the screen; the place given again then is the
// frame's for certain. A window maximized or minimized meanwhile stays.
void PlaceFrameWhenFramed(QWidget* window, QPoint place);

} // namespace kelbrin
