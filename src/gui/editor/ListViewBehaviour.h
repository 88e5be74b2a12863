#pragma once
// What a track list does beyond Qt's own list: column resizing that waits for
// the button's release (no full drag), hover selection, one-click and
// two-click activation, sub-item pictures that can be switched off and a
// header picture on the right of the caption. cListView switches these on
// and off through dynamic properties of the live widgets; this object, a
// child of the list, reads them each time it acts.

#include <QObject>
#include <QPersistentModelIndex>
#include <QPointer>

class QRubberBand;
class QTimer;
class QTreeWidget;
class QWidget;

namespace kelbrin {

class ListViewBehaviour : public QObject {
    Q_OBJECT
public:
    // The list's behaviour object, made on first use.
    static ListViewBehaviour* Of(QTreeWidget* view);
    static ListViewBehaviour* Find(const QTreeWidget* view);

    // How long the pointer rests on a row before hover selection takes it.
    static constexpr int kHoverMs = 400;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit ListViewBehaviour(QTreeWidget* view);

    bool headerEvent(QEvent* event);
    bool viewportEvent(QEvent* event);
    int handleAt(int x) const;
    void hoverSelect();

    QTreeWidget* m_view;
    // Kept from the start: the viewports' last events come while the view is
    // already half destroyed, when asking the view for them is no longer valid.
    QObject* const m_headerViewport;
    QWidget* const m_viewport;
    // Column resizing without full drag: the section and where it begins.
    int m_resizing = -1;
    int m_resizeFrom = 0;
    QRubberBand* m_band = nullptr;
    // Hover selection.
    QTimer* m_hover = nullptr;
    QPersistentModelIndex m_hoverIndex;
    // Two-click activation: the press fell on the row that was already selected.
    QPersistentModelIndex m_secondClick;
};

} // namespace kelbrin
