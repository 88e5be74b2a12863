#include "TrackListNavigator.h"

#include "KeyMovedCurrent.h"

#include "core/document/cPozycjeMP3.h"
#include "core/editor/GraphEditor.h"
#include "core/editor/TrackListRow.h"

#include <QMouseEvent>
#include <QTreeWidget>

namespace kelbrin {

namespace {

int ButtonCode(Qt::MouseButton b) {
    return b == Qt::LeftButton ? mouse::Left
         : b == Qt::RightButton ? mouse::Right
         : b == Qt::MiddleButton ? mouse::Middle
                                 : mouse::None;
}

int ShiftCode(Qt::KeyboardModifiers m) {
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
           (m & Qt::AltModifier ? 4 : 0);
}

} // namespace

TrackListNavigator::TrackListNavigator(QTreeWidget& list, GraphEditor& editor, QObject* parent)
    : QObject(parent), m_list(list), m_viewport(list.viewport()), m_editor(editor) {
    m_list.viewport()->installEventFilter(this);
    // A row reached with the keys selects its track as a click does; it
    // neither links nor opens it.
    new KeyMovedCurrent(m_list, [this](QTreeWidgetItem* row) {
        m_editor.SelectTrackBox(RowTag(row), mouse::None, 0, QPoint());
    }, this);
}

QStringList TrackListNavigator::RowTexts(const cPozycjaMP3& t) { return TrackListRowTexts(t); }

std::int32_t TrackListNavigator::RowTag(const QTreeWidgetItem* row) {
    return row ? row->data(0, Qt::UserRole).toInt() : 0;
}

void TrackListNavigator::Rebuild(const cPozycjeMP3& tracks) {
    m_list.clear();
    for (std::int32_t i = 1; i <= tracks.Count(); ++i) {
        const cPozycjaMP3& t = *tracks.Item(i);
        if (!HasListRow(t))
            continue;
        auto* row = new QTreeWidgetItem(&m_list, RowTexts(t));
        row->setData(0, Qt::UserRole, t.lngNrPozycji);
    }
}

QTreeWidgetItem* TrackListNavigator::RowOf(std::int32_t number) const {
    for (int i = 0; i < m_list.topLevelItemCount(); ++i)
        if (RowTag(m_list.topLevelItem(i)) == number)
            return m_list.topLevelItem(i);
    return nullptr;
}

void TrackListNavigator::AddRow(const cPozycjaMP3& track) {
    // Only a track whose source is on disk is listed.
    if (!RowOf(track.lngNrPozycji) && HasListRow(track)) {
        auto* row = new QTreeWidgetItem(&m_list);
        row->setData(0, Qt::UserRole, track.lngNrPozycji);
    }
    UpdateRow(track);
}

void TrackListNavigator::UpdateRow(const cPozycjaMP3& track) {
    // A track without a row (deleted, or not listed) gets none here.
    QTreeWidgetItem* row = RowOf(track.lngNrPozycji);
    if (!row)
        return;
    const QStringList texts = RowTexts(track);
    for (int c = 0; c < texts.size(); ++c)
        row->setText(c, texts[c]);
}

void TrackListNavigator::RemoveRow(std::int32_t number) { delete RowOf(number); }

bool TrackListNavigator::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_viewport)
        return QObject::eventFilter(watched, event);
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseButtonDblClick)
        return QObject::eventFilter(watched, event);
    auto* me = static_cast<QMouseEvent*>(event);
    QTreeWidgetItem* row = m_list.itemAt(me->position().toPoint());
    if (!row)
        return QObject::eventFilter(watched, event); // beside the rows: nothing
    const std::int32_t tag = RowTag(row);
    const int button = ButtonCode(me->button());
    const int shift = ShiftCode(me->modifiers());
    // x = y = 0: a row never lifts or drops a box.
    if (type == QEvent::MouseButtonPress) {
        m_editor.SelectTrackBox(tag, button, shift, QPoint());
    } else if (type == QEvent::MouseButtonRelease) {
        m_editor.LinkOrDrop(tag, button, shift, QPoint());
    } else if (m_editor.canOpenFromBox(tag)) {
        // The row's track in the track panel, and its preview played there.
        m_editor.SelectTrackBox(tag, mouse::None, 0, QPoint());
        m_editor.LinkOrDrop(tag, mouse::None, 0, QPoint());
        m_editor.OpenFromBox(tag);
        if (playPreview)
            playPreview();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kelbrin
