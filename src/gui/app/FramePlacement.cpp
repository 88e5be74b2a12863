#include "FramePlacement.h"

#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace kelbrin {

namespace {

class FramePlacer final : public QObject {
public:
    FramePlacer(QWidget* window, QPoint place) : QObject(window), m_window(window), m_place(place) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        // The native window exists once the widget shows.
        if (watched == m_window && event->type() == QEvent::Show) {
            if (QWindow* native = m_window->windowHandle())
                native->installEventFilter(this);
            return false;
        }
        if (watched == m_window || (event->type() != QEvent::Expose && event->type() != QEvent::Move))
            return false;
        QWindow* native = m_window ? m_window->windowHandle() : nullptr;
        // Not framed yet: the frame's size is still unknown.
        if (!native || !native->isExposed() || native->frameGeometry() == native->geometry())
            return false;
        if (!(m_window->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)) &&
            native->frameGeometry().topLeft() != m_place)
            m_window->move(m_place);
        native->removeEventFilter(this);
        m_window->removeEventFilter(this);
        deleteLater();
        return false;
    }

private:
    QPointer<QWidget> m_window;
    QPoint m_place;
};

} // namespace

void PlaceFrameWhenFramed(QWidget* window, QPoint place) {
    if (!window)
        return;
    auto* placer = new FramePlacer(window, place);
    window->installEventFilter(placer);
    if (window->isVisible() && window->windowHandle())
        window->windowHandle()->installEventFilter(placer);
}

} // namespace kelbrin
