#pragma once

class QWidget;

namespace kelbrin {

// Sees that a window just shown reaches the screen. A window manager starting
// at the same moment as the program (a desktop session with the editor in its
// autostart) can read the window's map request while it sets itself up and
// then leave it unanswered until something else happens on the display, which
// at a session's start may be never. Until the window is exposed, the display
// is asked now and then, less often each time, whether the window is mapped or
// managed; while it is neither, its map is requested again, a bounded number
// of times: the new request wakes such a manager, and with no manager the
// server maps the window at once. A window that shows at once costs nothing.
void RetryMapUntilShown(QWidget* window);

} // namespace kelbrin
