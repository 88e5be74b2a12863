#include "BusyPointer.h"

#include <QApplication>

namespace kelbrin {

void ShowBusyPointer(bool busy) {
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

} // namespace kelbrin
