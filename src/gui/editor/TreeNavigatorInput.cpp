// The tree's mouse, keys and drag and drop, and the information line.
#include "TreeNavigator.h"

#include "EditorController.h"
#include "TrackCommandSet.h"
#include "TrackSurface.h"
#include "core/app/Numbers.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjeMP3.h"
#include "core/editor/TrackGraph.h"
#include "gui/app/Translation.h"
#include "gui/mainwindow/MainMenus.h"

#include <QAction>
#include <QApplication>
#include <QDrag>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QTreeWidget>
#include <memory>

namespace kelbrin {

namespace {

const QString kDragFormat = QStringLiteral("application/x-kelbrin-tree-node");

// A text with its value: into its placeholder when it has one, else after ": ".
QString Piece(int nr, const QString& value) {
    if (CatalogText(nr).contains(QLatin1String("|1")))
        return GetText(nr, QStringLiteral("|1"), value);
    return GetText(nr) + QStringLiteral(": ") + value;
}

} // namespace

// ---- mouse and keys ----

QString TreeNavigator::InfoText(const cPozycjaMP3& t) {
    QString range;
    if (t.blnJednostka) {
        range = GetText(3139, QStringLiteral("|1"),
                        QStringLiteral("%1:%2").arg(t.lngPoczatek_M).arg(t.lngPoczatek_S),
                        QStringLiteral("|2"), QStringLiteral("%1:%2").arg(t.lngKoniec_M).arg(t.lngKoniec_S));
        range += QLatin1Char(' ') + GetText(3032);
    } else {
        range = GetText(3139, QStringLiteral("|1"), QString::number(t.lngRamkaOd), QStringLiteral("|2"),
                        QString::number(t.lngRamkaDo));
    }
    QStringList parts{range,
                      Piece(2168, QString::number(std::int64_t(t.lngVolume) + 10000)),
                      Piece(2159, QString::number(t.lngBalance)),
                      Piece(2160, NumberText(double(t.sngRate) * 100) + QLatin1Char('%'))};
    if (t.lngLoopTrack > 0)
        parts << GetText(3142, QStringLiteral("|1"), QString::number(t.lngLoopTrack), QStringLiteral("|2"),
                         QString::number(t.lngLoopCount));
    parts << Piece(2127, t.strFileName);
    return parts.join(QStringLiteral(", "));
}

void TreeNavigator::KeyUp(int key, Qt::KeyboardModifiers modifiers) {
    if (key == Qt::Key_Plus && (modifiers & Qt::KeypadModifier) && m_addButton && m_addButton->AddEnabled())
        m_addButton->AddTrack();
}

void TreeNavigator::DoubleClick() {
    QTreeWidgetItem* node = m_tree.currentItem();
    if (!node)
        return;
    // A track's node opens the track panel only while there is one.
    if (m_editor.editor().canOpenFromBox(NodeTag(node)))
        m_editor.editor().OpenFromBox(NodeTag(node));
    addChildren(node);
    node->setExpanded(true);
}

void TreeNavigator::MouseUpRight(QTreeWidgetItem* node, QPoint at) {
    if (!node)
        return;
    const std::int32_t tag = std::max(NodeTag(node), 0);
    m_editor.editor().SelectTrackBox(tag, mouse::Right, 0, at);
    if (selectionChanged)
        selectionChanged(m_editor.editor().lngSelectedTrack);
}

void TreeNavigator::MouseMove(QTreeWidgetItem* node) {
    ShowHint(TagOf(&m_tree));
    const QAction* info = m_menus ? m_menus->item(QStringLiteral("mnuTrack_Labelki(2)")) : nullptr;
    if (!info || !info->isChecked() || !node)
        return;
    const std::int32_t tag = NodeTag(node);
    if (tag == 0) {
        m_editor.showHoverText(GetText(3094));
    } else if (tag > 0) {
        const cPozycjeMP3& tracks = m_editor.tracks();
        const std::int32_t position = ItemTracka(tracks, tag);
        if (position > 0)
            m_editor.showHoverText(InfoText(*tracks.Item(position)));
    }
}

// ---- drag and drop ----

void TreeNavigator::DragStart(QTreeWidgetItem* node) {
    // The node is taken where the drag begins, so a quick drag that first
    // crosses other nodes (or leaves the tree) still moves the right track.
    WezelDrag = node ? std::optional(NodeTag(node)) : std::nullopt;
    m_highlight.reset();
}

void TreeNavigator::DragOver(QTreeWidgetItem* node) {
    m_highlight = node ? std::optional(NodeTag(node)) : std::nullopt;
    if (!node)
        return;
    m_tree.setCurrentItem(node);
    select(std::max(NodeTag(node), 0));
    GraphEditor& g = m_editor.editor();
    g.MovePointer();
    // The commands follow the new selection also when the node is open
    // already: Connect left on from a detached track would link this one
    // again and leave it in its old predecessor's successor list.
    g.Udostepniaj(g.lngSelectedTrack);
    if (!node->isExpanded())
        tvwNodes_NodeClick(node);
}

void TreeNavigator::Drop() {
    if (!m_highlight || !WezelDrag || *m_highlight == *WezelDrag)
        return;
    Upusc(*m_highlight);
}

void TreeNavigator::DragComplete() {
    WezelDrag.reset();
    m_highlight.reset();
}

void TreeNavigator::SurfaceDrop(QPoint twips) {
    if (!WezelDrag)
        return;
    GraphEditor& g = m_editor.editor();
    const std::int32_t box = HitBox(m_editor.tracks(), g.startCentre(), twips);
    if (box >= 0)
        Upusc(box);
}

void TreeNavigator::Upusc(std::int32_t target) {
    if (!WezelDrag)
        return;
    const std::int32_t dragged = *WezelDrag;
    GraphEditor& g = m_editor.editor();
    if (dragged == target || dragged <= 0 || g.linkMode())
        return;
    // A move deletes, so it is held back while the export dialog holds the
    // tracks, as the delete button is.
    if (!g.deleteAllowed())
        return;
    if (!TrackByNumber(m_editor.tracks(), dragged))
        return;
    m_commands.CopyToClipboard(dragged);
    select(target < 0 ? 0 : target);

    if (QTreeWidgetItem* node = ZnajdzNoda(target)) {
        m_tree.setCurrentItem(node);
        // The original goes only when the copy stands: a paste that fails or
        // is cancelled leaves the track where it was (and in the clipboard).
        // The paste's undo step holds the project from before the move, so
        // the deletion takes none: one undo takes the whole move back.
        struct Move {
            bool waiting = true;
            bool placed = false;
        };
        auto move = std::make_shared<Move>();
        QPointer<TreeNavigator> self(this);
        m_commands.PasteAsNewTrack([move, self, dragged](const QList<std::int32_t>& added) {
            if (added.isEmpty())
                return;
            if (move->waiting) {
                move->placed = true;
            } else if (self) {
                QTimer::singleShot(0, self, [self, dragged] {
                    if (self)
                        self->m_commands.DeleteTrack(dragged, false);
                });
            }
        }, true); // the moved track keeps its name
        move->waiting = false;
        if (move->placed)
            m_commands.DeleteTrack(dragged, false);
        select(target < 0 ? 0 : target);
        if (QTreeWidgetItem* again = ZnajdzNoda(target))
            tvwNodes_NodeClick(again);
    }
    g.Udostepniaj(g.lngSelectedTrack);
}

void TreeNavigator::runDrag(QTreeWidgetItem* node) {
    DragStart(node);
    auto* data = new QMimeData;
    data->setData(kDragFormat, QByteArray::number(NodeTag(node)));
    auto* drag = new QDrag(&m_tree);
    drag->setMimeData(data);
    drag->setPixmap(node->icon(0).pixmap(16, 16));
    drag->exec(Qt::MoveAction);
    DragComplete();
}

bool TreeNavigator::eventFilter(QObject* watched, QEvent* event) {
    const bool onSurface = watched == m_editor.surface();
    const bool onTree = watched == m_treeViewport;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* e = static_cast<QDragMoveEvent*>(event);
        if (!(onTree || onSurface) || !e->mimeData()->hasFormat(kDragFormat))
            break;
        if (onTree)
            DragOver(m_tree.itemAt(e->position().toPoint()));
        e->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* e = static_cast<QDropEvent*>(event);
        if (!(onTree || onSurface) || !e->mimeData()->hasFormat(kDragFormat))
            break;
        e->setDropAction(Qt::IgnoreAction); // the tree's items are never moved by the widget
        e->accept();
        if (onTree) {
            DragOver(m_tree.itemAt(e->position().toPoint()));
            Drop();
        } else {
            SurfaceDrop(TrackSurface::toTwips(e->position().toPoint()));
        }
        return true;
    }
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (onTree && e->button() == Qt::LeftButton) {
            m_pressAt = e->position().toPoint();
            m_pressed = m_tree.itemAt(m_pressAt);
        }
        break;
    }
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (!onTree)
            break;
        const QPoint at = e->position().toPoint();
        if ((e->buttons() & Qt::LeftButton) && m_pressed && m_pressed == m_tree.itemAt(m_pressAt) &&
            (at - m_pressAt).manhattanLength() >= QApplication::startDragDistance()) {
            QTreeWidgetItem* node = m_pressed;
            m_pressed = nullptr;
            runDrag(node);
            return true;
        }
        MouseMove(m_tree.itemAt(at));
        break;
    }
    case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (onTree) {
            m_pressed = nullptr;
            if (e->button() == Qt::RightButton)
                MouseUpRight(m_tree.itemAt(e->position().toPoint()), e->position().toPoint());
        }
        break;
    }
    case QEvent::KeyRelease:
        if (watched == &m_tree) {
            auto* e = static_cast<QKeyEvent*>(event);
            KeyUp(e->key(), e->modifiers());
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kelbrin
