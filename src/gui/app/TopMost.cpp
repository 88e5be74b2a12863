#include "TopMost.h"

#include <QWidget>

namespace kelbrin {

void SetTopMost(QWidget* window, bool onTop) {
    if (!window)
        return;
    const bool isOnTop = window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    if (isOnTop == onTop)
        return;
    // Changing a window flag recreates the native window and hides it, so the
    // place, size and visibility are put back afterwards.
    const QRect geometry = window->geometry();
    const bool visible = window->isVisible();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    window->setGeometry(geometry);
    if (visible)
        window->show();
}

} // namespace kelbrin
