#pragma once
// Style switches and hit tests of a track list (a QTreeWidget in report form).
// The wrapper keeps nothing but the view: every property reads or writes the
// live widget, through Qt's own settings where Qt has them and otherwise
// through a dynamic property that the list's behaviour object
// (ListViewBehaviour) acts on.

#include <QColor>
#include <QIcon>

class QTreeWidget;

namespace kelbrin {

class cListView {
public:
    void setHWnd(QTreeWidget* view) { m_view = view; }
    QTreeWidget* hWnd() const { return m_view; }

    // Column header.
    bool HeaderButtonStyle() const;      // clickable sections
    void setHeaderButtonStyle(bool on);
    bool HeaderHotTrack() const;         // sections light up under the mouse
    void setHeaderHotTrack(bool on);
    bool HeaderHidden() const;
    void setHeaderHidden(bool on);
    bool HeaderDragDrop() const;         // columns can be moved
    void setHeaderDragDrop(bool on);
    bool HeaderFullDrag() const;         // columns resize while dragged
    void setHeaderFullDrag(bool on);

    // The list.
    bool ShowSelAlways() const;          // the selection stays visible without focus
    void setShowSelAlways(bool on);
    bool Gridlines() const;
    void setGridlines(bool on);
    bool SubItemImages() const;
    void setSubItemImages(bool on);
    bool CheckBoxes() const;
    void setCheckBoxes(bool on);
    bool TrackSelect() const;            // resting on a row selects it
    void setTrackSelect(bool on);
    bool FullRowSelect() const;
    void setFullRowSelect(bool on);
    void OnClickActivate(bool on);       // one-click activation (set)
    bool OneClickActivate() const;       // one-click activation (get)
    bool TwoClickActivate() const;
    void setTwoClickActivate(bool on);

    // The row under a point given in twips; -1 when none.
    int ItemHitTest(double xTwips, double yTwips) const;
    int SubItemHitTest(double xTwips, double yTwips) const;

    QColor BackColor() const;
    void setBackColor(const QColor& colour);

    void RedrawHeader();
    // A picture in a column's header, before or after (onTheRight) its caption.
    void SetHeaderBitmap(int column, const QIcon& bitmap, bool onTheRight);
    void ClearHeaderBitmap();

private:
    bool flag(const char* name) const;
    void setFlag(const char* name, bool on);

    QTreeWidget* m_view = nullptr;
};

} // namespace kelbrin
