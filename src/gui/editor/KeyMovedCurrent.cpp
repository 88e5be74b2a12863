#include "KeyMovedCurrent.h"

#include <QEvent>
#include <QTimer>
#include <QTreeWidget>

namespace kelbrin {

KeyMovedCurrent::KeyMovedCurrent(QTreeWidget& view, std::function<void(QTreeWidgetItem*)> moved,
                                 QObject* parent)
    : QObject(parent), m_view(view), m_moved(std::move(moved)) {
    m_view.installEventFilter(this);
    connect(&m_view, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        if (m_keyPressing && current)
            m_moved(current);
    });
}

bool KeyMovedCurrent::eventFilter(QObject* watched, QEvent* event) {
    // The view moves its current row while it handles the press, right after
    // this filter; the mark lasts until that handling is over, and never past
    // the key's release.
    if (watched == &m_view && event->type() == QEvent::KeyPress && !m_keyPressing) {
        m_keyPressing = true;
        QTimer::singleShot(0, this, [this] { m_keyPressing = false; });
    } else if (watched == &m_view && event->type() == QEvent::KeyRelease) {
        m_keyPressing = false;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kelbrin
