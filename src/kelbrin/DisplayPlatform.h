#pragma once
// A program started by cron, or by a systemd user service that imports no
// display, has nothing to show its windows on, and the window system's plugin
// loader would abort it. A scheduled recording needs no window: when the
// user named no platform (QT_QPA_PLATFORM) and no display can be reached, the
// program runs on the offscreen platform.

namespace kelbrin {

// Call before the application object exists. True when it chose offscreen.
bool ChooseOffscreenWithoutDisplay();

} // namespace kelbrin
