#pragma once
// Reading the system's font configuration costs a few milliseconds, paid by
// the first text the window measures. Begun on a thread of its own while the
// application connects to the display, it is ready by the time the window
// needs it; the font library keeps whichever reading finishes first.

#include <thread>

namespace kelbrin {

class FontConfigWarmUp {
public:
    FontConfigWarmUp();
    ~FontConfigWarmUp();
    FontConfigWarmUp(const FontConfigWarmUp&) = delete;
    FontConfigWarmUp& operator=(const FontConfigWarmUp&) = delete;

private:
    std::thread m_reader;
};

} // namespace kelbrin
