#pragma once
// A program started by cron, by a systemd user service that imports no
// display, or by the session bus from such a program, has nothing to show its
// windows on, and the window system's plugin loader would abort it. One probe
// decides for both programs whether windows can be shown: the editor then runs
// on the offscreen platform, the encoder server without windows.

namespace kelbrin {

// True when the user named a platform (QT_QPA_PLATFORM: that choice stands)
// or an X display (DISPLAY) or Wayland compositor (WAYLAND_DISPLAY) answers.
// Call before the application object exists.
bool DisplayReachable();

// Sets the offscreen platform when no display is reachable. Call before the
// application object exists. True when it chose offscreen.
bool ChooseOffscreenWithoutDisplay();

} // namespace kelbrin
