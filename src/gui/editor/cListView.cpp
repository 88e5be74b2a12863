#include "cListView.h"

#include "ListViewBehaviour.h"
#include "gui/app/Twips.h"

#include <QHeaderView>
#include <QTreeWidget>

namespace kelbrin {

bool cListView::flag(const char* name) const { return m_view && m_view->property(name).toBool(); }

void cListView::setFlag(const char* name, bool on) {
    if (m_view)
        m_view->setProperty(name, on);
}

bool cListView::HeaderButtonStyle() const { return m_view && m_view->header()->sectionsClickable(); }
void cListView::setHeaderButtonStyle(bool on) {
    if (m_view)
        m_view->header()->setSectionsClickable(on);
}
bool cListView::HeaderHotTrack() const { return m_view && m_view->header()->testAttribute(Qt::WA_Hover); }
void cListView::setHeaderHotTrack(bool on) {
    if (m_view)
        m_view->header()->setAttribute(Qt::WA_Hover, on);
}
bool cListView::HeaderHidden() const { return m_view && m_view->header()->isHidden(); }
void cListView::setHeaderHidden(bool on) {
    if (m_view)
        m_view->setHeaderHidden(on);
}
bool cListView::HeaderDragDrop() const { return m_view && m_view->header()->sectionsMovable(); }
void cListView::setHeaderDragDrop(bool on) {
    if (m_view)
        m_view->header()->setSectionsMovable(on);
}
// Qt resizes columns live while their edge is dragged; without full drag
// only a line follows the pointer and the column takes its width on release.
bool cListView::HeaderFullDrag() const {
    if (!m_view)
        return false;
    const QVariant v = m_view->header()->property("HeaderFullDrag");
    return !ListViewBehaviour::Find(m_view) || !v.isValid() || v.toBool();
}
void cListView::setHeaderFullDrag(bool on) {
    if (!m_view)
        return;
    ListViewBehaviour::Of(m_view);
    m_view->header()->setProperty("HeaderFullDrag", on);
}

bool cListView::ShowSelAlways() const { return flag("ShowSelAlways"); }
void cListView::setShowSelAlways(bool on) {
    if (!m_view)
        return;
    setFlag("ShowSelAlways", on);
    QPalette p = m_view->palette();
    const QPalette base = m_view->style()->standardPalette();
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
        p.setColor(QPalette::Inactive, role,
                   on ? p.color(QPalette::Active, role) : base.color(QPalette::Inactive, role));
    m_view->setPalette(p);
}

bool cListView::Gridlines() const { return flag("Gridlines"); }
void cListView::setGridlines(bool on) {
    if (!m_view)
        return;
    ListViewBehaviour::Of(m_view); // its delegate draws the lines
    setFlag("Gridlines", on);
    m_view->viewport()->update();
}
// Qt shows every column's picture until the behaviour's delegate takes over.
bool cListView::SubItemImages() const {
    return m_view && (!ListViewBehaviour::Find(m_view) || flag("SubItemImages"));
}
void cListView::setSubItemImages(bool on) {
    if (!m_view)
        return;
    ListViewBehaviour::Of(m_view);
    setFlag("SubItemImages", on);
    m_view->viewport()->update();
}

bool cListView::CheckBoxes() const { return flag("CheckBoxes"); }
void cListView::setCheckBoxes(bool on) {
    if (!m_view)
        return;
    setFlag("CheckBoxes", on);
    for (int i = 0; i < m_view->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_view->topLevelItem(i);
        if (on)
            item->setCheckState(0, item->data(0, Qt::CheckStateRole).isValid()
                                       ? item->checkState(0)
                                       : Qt::Unchecked);
        else
            item->setData(0, Qt::CheckStateRole, QVariant());
    }
}
bool cListView::TrackSelect() const { return flag("TrackSelect"); }
void cListView::setTrackSelect(bool on) {
    if (!m_view)
        return;
    ListViewBehaviour::Of(m_view);
    setFlag("TrackSelect", on);
}
bool cListView::FullRowSelect() const {
    return m_view && m_view->selectionBehavior() == QAbstractItemView::SelectRows;
}
void cListView::setFullRowSelect(bool on) {
    if (!m_view)
        return;
    m_view->setSelectionBehavior(on ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    m_view->setAllColumnsShowFocus(on);
}
// Activation (the view's activated signal) by one click on a row, or by a
// click on the row that is already selected; otherwise by a double-click.
void cListView::OnClickActivate(bool on) {
    if (!m_view)
        return;
    ListViewBehaviour::Of(m_view);
    setFlag("OneClickActivate", on);
}
bool cListView::OneClickActivate() const { return flag("OneClickActivate"); }
bool cListView::TwoClickActivate() const { return flag("TwoClickActivate"); }
void cListView::setTwoClickActivate(bool on) {
    if (!m_view)
        return;
    ListViewBehaviour::Of(m_view);
    setFlag("TwoClickActivate", on);
}

int cListView::ItemHitTest(double xTwips, double yTwips) const {
    if (!m_view)
        return -1;
    QTreeWidgetItem* item = m_view->itemAt(TwipsToPx(xTwips), TwipsToPx(yTwips));
    return item ? m_view->indexOfTopLevelItem(item) : -1;
}

int cListView::SubItemHitTest(double xTwips, double yTwips) const { return ItemHitTest(xTwips, yTwips); }

QColor cListView::BackColor() const { return m_view ? m_view->palette().color(QPalette::Base) : QColor(); }
void cListView::setBackColor(const QColor& colour) {
    if (!m_view)
        return;
    QPalette p = m_view->palette();
    p.setColor(QPalette::Base, colour);
    m_view->setPalette(p);
    m_view->viewport()->update();
}

void cListView::RedrawHeader() {
    if (m_view)
        m_view->header()->viewport()->repaint();
}

void cListView::SetHeaderBitmap(int column, const QIcon& bitmap, bool onTheRight) {
    if (!m_view || !m_view->headerItem())
        return;
    ListViewBehaviour::Of(m_view);
    QHeaderView* header = m_view->header();
    QVariantList right = header->property("HeaderBitmapRight").toList();
    right.removeAll(column);
    if (onTheRight)
        right.append(column);
    header->setProperty("HeaderBitmapRight", right);
    m_view->headerItem()->setIcon(column, bitmap);
    RedrawHeader();
}

void cListView::ClearHeaderBitmap() {
    if (!m_view || !m_view->headerItem())
        return;
    for (int c = 0; c < m_view->columnCount(); ++c)
        m_view->headerItem()->setIcon(c, QIcon());
    m_view->header()->setProperty("HeaderBitmapRight", QVariantList());
    RedrawHeader();
}

} // namespace kelbrin
