#pragma once
// Whether a top-level window the toolkit asked to map has reached the screen
// or a window manager, and asking for its map once more.
//
// Linux: the X connection the toolkit itself uses. A window manager that
// takes over the display while a map request is on its way can leave that
// request unanswered, and nothing else asks for the window again. Off X
// (Wayland, offscreen) no request is lost: the state is Unknown and nothing is
// asked.

#include <QtGlobal>

namespace kelbrin {

enum class WindowMapState {
    Shown,   // mapped, or taken in by a window manager (WM_STATE, minimized too)
    Waiting, // neither: the map request has reached nobody who answered it
    Unknown, // not on X, or the window is gone
};

WindowMapState QueryWindowMap(quintptr window);

// Asks the X server to map the window again: a window manager gets a new map
// request, and without one the server maps it at once. A window already
// mapped is left as it is.
void RequestWindowMap(quintptr window);

} // namespace kelbrin
