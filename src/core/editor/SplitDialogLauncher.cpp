#include "SplitDialogLauncher.h"

namespace kelbrin {

namespace {
SplitDialogLauncher* g_launcher = nullptr;
}

SplitDialogLauncher* SplitDialog() { return g_launcher; }

SplitDialogLauncher* SetSplitDialogLauncher(SplitDialogLauncher* launcher) {
    SplitDialogLauncher* previous = g_launcher;
    g_launcher = launcher;
    return previous;
}

} // namespace kelbrin
