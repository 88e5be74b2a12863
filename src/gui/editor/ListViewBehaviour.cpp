#include "ListViewBehaviour.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QRubberBand>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>

#include <algorithm>
#include <QTimer>
#include <QTreeWidget>

namespace kelbrin {

namespace {

bool flag(const QObject* o, const char* name, bool absent = false) {
    const QVariant v = o->property(name);
    return v.isValid() ? v.toBool() : absent;
}

// Pictures in the columns after the first only while SubItemImages is on;
// grid lines between the cells while Gridlines is on. The lines are drawn
// here, over what the style drew: a style sheet on the items would take the
// drawing of the selected row from the style and leave its text unseen.
class SubItemDelegate : public QStyledItemDelegate {
    static constexpr int kFootRoom = 3; // the grid line and two pixels above it

public:
    SubItemDelegate(QTreeWidget* view) : QStyledItemDelegate(view), m_view(view) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        if (!flag(m_view, "Gridlines"))
            return;
        painter->save();
        painter->setPen(QColor(0xd4, 0xd4, 0xd4));
        const QRect r = option.rect;
        painter->drawLine(r.topRight(), r.bottomRight());
        painter->drawLine(r.bottomLeft(), r.bottomRight());
        painter->restore();
    }

    // The foot of the text (underscores, descenders) gets rows of its own
    // above the grid line, which a row only as tall as the font would cover.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        QStyleOptionViewItem item(option);
        initStyleOption(&item, index);
        size.setHeight(std::max(size.height(), item.fontMetrics.height() + kFootRoom));
        return size;
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.column() > 0 && !flag(m_view, "SubItemImages")) {
            option->features &= ~QStyleOptionViewItem::HasDecoration;
            option->icon = QIcon();
        }
    }

private:
    QTreeWidget* m_view;
};

// The header's picture on the right of the caption for the columns listed in
// the header's HeaderBitmapRight property.
class HeaderBitmapStyle : public QProxyStyle {
public:
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        const auto* header = qstyleoption_cast<const QStyleOptionHeader*>(option);
        if (element != CE_HeaderLabel || !header || header->icon.isNull() || !widget ||
            !widget->property("HeaderBitmapRight").toList().contains(header->section)) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        const int extent = pixelMetric(PM_SmallIconSize, option, widget);
        QStyleOptionHeader caption(*header);
        caption.icon = QIcon();
        caption.rect.setRight(header->rect.right() - extent - 4);
        QProxyStyle::drawControl(element, &caption, painter, widget);
        const QRect place(header->rect.right() - extent - 2, header->rect.center().y() - extent / 2,
                          extent, extent);
        header->icon.paint(painter, place, Qt::AlignCenter,
                           header->state & State_Enabled ? QIcon::Normal : QIcon::Disabled);
    }
};

} // namespace

ListViewBehaviour* ListViewBehaviour::Find(const QTreeWidget* view) {
    return view ? view->findChild<ListViewBehaviour*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

ListViewBehaviour* ListViewBehaviour::Of(QTreeWidget* view) {
    if (!view)
        return nullptr;
    if (ListViewBehaviour* existing = Find(view))
        return existing;
    return new ListViewBehaviour(view);
}

ListViewBehaviour::ListViewBehaviour(QTreeWidget* view)
    : QObject(view), m_view(view), m_headerViewport(view->header()->viewport()), m_viewport(view->viewport()) {
    view->setItemDelegate(new SubItemDelegate(view));
    auto* style = new HeaderBitmapStyle;
    style->setParent(view->header());
    view->header()->setStyle(style);
    view->header()->viewport()->installEventFilter(this);
    view->viewport()->installEventFilter(this);
    view->viewport()->setMouseTracking(true);
    m_hover = new QTimer(this);
    m_hover->setSingleShot(true);
    m_hover->setInterval(kHoverMs);
    connect(m_hover, &QTimer::timeout, this, [this] { hoverSelect(); });
}

bool ListViewBehaviour::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_headerViewport)
        return headerEvent(event);
    if (watched == m_viewport)
        return viewportEvent(event);
    return QObject::eventFilter(watched, event);
}

// The section whose right edge is within the grip margin of x, or -1.
int ListViewBehaviour::handleAt(int x) const {
    const QHeaderView* header = m_view->header();
    const int margin = header->style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, header);
    for (int visual = header->count() - 1; visual >= 0; --visual) {
        const int section = header->logicalIndex(visual);
        if (header->isSectionHidden(section) ||
            header->sectionResizeMode(section) != QHeaderView::Interactive)
            continue;
        const int right = header->sectionViewportPosition(section) + header->sectionSize(section);
        if (std::abs(x - right) <= margin)
            return section;
    }
    return -1;
}

bool ListViewBehaviour::headerEvent(QEvent* event) {
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease)
        return false;
    QHeaderView* header = m_view->header();
    auto* me = static_cast<QMouseEvent*>(event);
    const int x = me->position().toPoint().x();
    if (type == QEvent::MouseButtonPress) {
        // Full drag (the default) is Qt's own live resizing.
        if (me->button() != Qt::LeftButton || flag(header, "HeaderFullDrag", true))
            return false;
        m_resizing = handleAt(x);
        if (m_resizing < 0)
            return false;
        m_resizeFrom = header->sectionViewportPosition(m_resizing);
        if (!m_band)
            m_band = new QRubberBand(QRubberBand::Line, m_view);
        m_band->setGeometry(header->x() + x, header->y(), 2, m_view->height() - header->y());
        m_band->show();
        return true;
    }
    if (m_resizing < 0)
        return false;
    if (type == QEvent::MouseMove) {
        // Only a line shows where the edge will go.
        m_band->move(header->x() + std::max(x, m_resizeFrom + header->minimumSectionSize()),
                     header->y());
        return true;
    }
    m_band->hide();
    const int section = m_resizing;
    m_resizing = -1;
    header->resizeSection(section, std::max(header->minimumSectionSize(), x - m_resizeFrom));
    return true;
}

bool ListViewBehaviour::viewportEvent(QEvent* event) {
    const auto type = event->type();
    if (type == QEvent::Leave) {
        m_hover->stop();
        m_viewport->unsetCursor();
        return false;
    }
    if (type != QEvent::MouseMove && type != QEvent::MouseButtonPress &&
        type != QEvent::MouseButtonRelease)
        return false;
    auto* me = static_cast<QMouseEvent*>(event);
    const QModelIndex index = m_view->indexAt(me->position().toPoint());
    const bool oneClick = flag(m_view, "OneClickActivate");
    const bool twoClick = flag(m_view, "TwoClickActivate");
    if (type == QEvent::MouseMove) {
        if (oneClick && index.isValid())
            m_view->viewport()->setCursor(Qt::PointingHandCursor);
        else
            m_view->viewport()->unsetCursor();
        if (flag(m_view, "TrackSelect") && me->buttons() == Qt::NoButton) {
            if (!index.isValid()) {
                m_hover->stop();
            } else if (index.row() != m_hoverIndex.row() || !m_hover->isActive()) {
                m_hoverIndex = index;
                m_hover->start();
            }
        }
        return false;
    }
    if (me->button() != Qt::LeftButton)
        return false;
    if (type == QEvent::MouseButtonPress) {
        // Seen before the view moves the selection: was this row already chosen?
        const bool chosen = index.isValid() && m_view->selectionModel() &&
                            m_view->selectionModel()->isRowSelected(index.row(), index.parent());
        m_secondClick = twoClick && chosen ? QPersistentModelIndex(index) : QPersistentModelIndex();
        return false;
    }
    if (index.isValid()) {
        if (oneClick)
            emit m_view->activated(index);
        else if (twoClick && m_secondClick.isValid() && m_secondClick.row() == index.row())
            emit m_view->activated(index);
    }
    m_secondClick = QPersistentModelIndex();
    return false;
}

void ListViewBehaviour::hoverSelect() {
    // The timer runs only while the pointer rests on one row.
    if (flag(m_view, "TrackSelect") && m_hoverIndex.isValid())
        m_view->setCurrentIndex(m_hoverIndex);
}

} // namespace kelbrin
