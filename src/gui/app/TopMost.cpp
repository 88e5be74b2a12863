#include "TopMost.h"

#include <QWidget>
#include <QWindow>

namespace kelbrin {

void SetTopMost(QWidget* window, bool onTop) {
    if (!window)
        return;
    Qt::WindowFlags flags = window->windowFlags();
    if (flags.testFlag(Qt::WindowStaysOnTopHint) == onTop)
        return;
    flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
    if (QWindow* native = window->windowHandle()) {
        // A window that exists on the screen is told the new band directly:
        // QWidget::setWindowFlags would recreate and hide it, and putting it
        // back would pin the place it reports, which before the window
        // manager has placed it is 0,0 with the title bar above the screen.
        window->overrideWindowFlags(flags);
        native->setFlags(flags);
        return;
    }
    // Not created yet: the window manager places it, as any other window,
    // when it is first shown.
    window->setWindowFlags(flags);
}

} // namespace kelbrin
