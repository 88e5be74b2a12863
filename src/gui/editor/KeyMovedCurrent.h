#pragma once
// Tells when a key pressed in a tree or list moves its highlighted row
// (arrows, Home, End, page keys, typing a name), so that the track under the
// highlight becomes the selected one as with a click. Rows highlighted by the
// program or by the mouse are not reported.

#include <QObject>
#include <functional>

class QTreeWidget;
class QTreeWidgetItem;

namespace kelbrin {

class KeyMovedCurrent : public QObject {
    Q_OBJECT
public:
    KeyMovedCurrent(QTreeWidget& view, std::function<void(QTreeWidgetItem*)> moved, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTreeWidget& m_view;
    std::function<void(QTreeWidgetItem*)> m_moved;
    bool m_keyPressing = false;
};

} // namespace kelbrin
