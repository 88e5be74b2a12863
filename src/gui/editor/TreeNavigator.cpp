#include "TreeNavigator.h"

#include "EditorController.h"
#include "TrackCommandSet.h"
#include "TrackSurface.h"
#include "core/app/MessageService.h"
#include "core/app/Numbers.h"
#include "core/app/SharedState.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjeMP3.h"
#include "core/editor/TrackGraph.h"
#include "gui/app/ProgramIcons.h"
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
#include <QTreeWidgetItemIterator>
#include <memory>

namespace kelbrin {

namespace {

constexpr int kKeyRole = Qt::UserRole + 1;
constexpr int kImageRole = Qt::UserRole + 2;
const QString kDragFormat = QStringLiteral("application/x-kelbrin-tree-node");

constexpr std::int32_t kRootTag = -1;
constexpr std::int32_t kStartTag = 0;

// The program icon drawn for each node image.
int ImageIconNumber(const QString& key) {
    if (key == QLatin1String("skool"))
        return 1113; // a folder: the project
    if (key == QLatin1String("start"))
        return 1129; // a flag
    if (key == QLatin1String("blok"))
        return 1147; // a lock
    if (key == QLatin1String("play"))
        return 1131; // a note in the playing colour
    if (key == QLatin1String("pause"))
        return 1122;
    return 1130; // "stop": a note
}

void SetImage(QTreeWidgetItem* node, const QString& key) {
    node->setData(0, kImageRole, key);
    node->setIcon(0, TreeNavigator::NodeImage(key));
}

QTreeWidgetItem* MakeNode(const QString& key, const QString& text, const QString& image,
                          std::int32_t tag) {
    auto* node = new QTreeWidgetItem(QStringList{text});
    node->setData(0, Qt::UserRole, tag);
    node->setData(0, kKeyRole, key);
    SetImage(node, image);
    return node;
}

QString RestingImage(const cPozycjaMP3& track) {
    if (track.blnZablokowany)
        return QStringLiteral("blok");
    return track.blnPlayed ? QStringLiteral("play") : QStringLiteral("stop");
}

// A text with its value: into its placeholder when it has one, else after ": ".
QString Piece(int nr, const QString& value) {
    if (CatalogText(nr).contains(QLatin1String("|1")))
        return GetText(nr, QStringLiteral("|1"), value);
    return GetText(nr) + QStringLiteral(": ") + value;
}

} // namespace

TreeNavigator::TreeNavigator(QTreeWidget& tree, EditorController& editor, TrackCommandSet& commands,
                             const MainMenus* menus, QObject* parent)
    : QObject(parent), m_tree(tree), m_editor(editor), m_commands(commands), m_menus(menus) {
    m_tree.setDragEnabled(false); // drags are started here, so the widget never moves items itself
    m_tree.setAcceptDrops(true);
    m_tree.viewport()->setAcceptDrops(true);
    m_tree.viewport()->setMouseTracking(true);
    m_tree.viewport()->installEventFilter(this);
    m_tree.installEventFilter(this);
    if (QWidget* surface = m_editor.surface()) {
        surface->setAcceptDrops(true);
        surface->installEventFilter(this);
    }
    connect(&m_tree, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* node) { tvwNodes_NodeClick(node); });
    connect(&m_tree, &QTreeWidget::itemDoubleClicked, this, [this] { DoubleClick(); });
    connect(&m_tree, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* node) { addChildren(node); });
    if (QAction* item = m_menus ? m_menus->item(QStringLiteral("mnuView_Tree")) : nullptr) {
        item->setEnabled(true);
        connect(item, &QAction::triggered, this, [this, item](bool on) {
            // The action has already changed its mark; the command changes it itself.
            item->setChecked(!on);
            mnuView_Tree_Click();
        });
    }
}

// ---- nodes ----

QIcon TreeNavigator::NodeImage(const QString& key) { return ProgramIcon(ImageIconNumber(key)); }

std::int32_t TreeNavigator::NodeTag(const QTreeWidgetItem* node) {
    return node ? node->data(0, Qt::UserRole).toInt() : kRootTag;
}

QString TreeNavigator::NodeKey(const QTreeWidgetItem* node) {
    return node ? node->data(0, kKeyRole).toString() : QString();
}

QString TreeNavigator::NodeImageKey(const QTreeWidgetItem* node) {
    return node ? node->data(0, kImageRole).toString() : QString();
}

QTreeWidgetItem* TreeNavigator::ZnajdzNoda(std::int32_t tag) const {
    for (QTreeWidgetItemIterator it(&m_tree); *it; ++it)
        if (NodeTag(*it) == tag)
            return *it;
    return nullptr;
}

QTreeWidgetItem* TreeNavigator::addNode(QTreeWidgetItem* parent, const cPozycjaMP3& track) {
    const std::int32_t n = track.lngNrPozycji;
    QTreeWidgetItem* node =
        MakeNode(QString::number(n) + QLatin1Char('N'), track.strLabel, RestingImage(track), n);
    // A track with successors shows that it can be opened before they are added.
    const cPozycjeMP3& tracks = m_editor.tracks();
    for (std::int32_t i = 1; i <= tracks.Count(); ++i) {
        const cPozycjaMP3& t = *tracks.Item(i);
        if (t.lngTrack == n && t.lngNrPozycji != n) {
            node->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
            break;
        }
    }
    parent->addChild(node);
    return node;
}

void TreeNavigator::addChildren(QTreeWidgetItem* node) {
    QTreeWidgetItem* root = m_tree.topLevelItem(0);
    if (!node || !root)
        return;
    const std::int32_t k = NodeTag(node);
    const cPozycjeMP3& tracks = m_editor.tracks();
    for (std::int32_t i = 1; i <= tracks.Count(); ++i) {
        const cPozycjaMP3& t = *tracks.Item(i);
        if (t.lngTrack == t.lngNrPozycji && !ZnajdzNoda(t.lngNrPozycji))
            addNode(root, t);
    }
    if (k < 0)
        return;
    for (std::int32_t i = 1; i <= tracks.Count(); ++i) {
        const cPozycjaMP3& t = *tracks.Item(i);
        if (t.lngTrack == k && t.lngNrPozycji != k && !ZnajdzNoda(t.lngNrPozycji))
            addNode(node, t);
    }
    if (node->childCount() == 0)
        node->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

void TreeNavigator::select(std::int32_t number) {
    m_editor.editor().lngSelectedTrack = number;
    if (selectionChanged)
        selectionChanged(number);
}

bool TreeNavigator::isInside(const QTreeWidgetItem* node, const QTreeWidgetItem* ancestor) const {
    for (const QTreeWidgetItem* p = node; p; p = p->parent())
        if (p == ancestor)
            return true;
    return false;
}

// ---- the View menu and the rebuild ----

bool TreeNavigator::treeShown() const {
    const QAction* item = m_menus ? m_menus->item(QStringLiteral("mnuView_Tree")) : nullptr;
    return !item || item->isChecked();
}

void TreeNavigator::mnuView_Tree_Click() {
    if (!treeWorks) {
        ShowText(3173, mb::Information);
        return;
    }
    QAction* item = m_menus ? m_menus->item(QStringLiteral("mnuView_Tree")) : nullptr;
    if (item)
        item->setChecked(!item->isChecked());
    if (treeShown())
        PokazMnieTvw();
}

void TreeNavigator::PokazMnieTvw() {
    m_tree.clear();
    m_highlight.reset();
    auto* root = MakeNode(QStringLiteral("P"), GetText(2001).remove(QLatin1Char('&')),
                          QStringLiteral("skool"), kRootTag);
    m_tree.addTopLevelItem(root);
    QTreeWidgetItem* start = MakeNode(QStringLiteral("S"), GetText(3171), QStringLiteral("start"), kStartTag);
    root->addChild(start);
    root->setExpanded(true);
    tvwNodes_NodeClick(start);
    m_tree.setCurrentItem(start);
    start->setExpanded(true);
    tvwNodes_NodeClick(start);
    if (m_tree.isVisible() && m_tree.window()->isActiveWindow() && m_tree.isEnabled())
        m_tree.setFocus();
}

void TreeNavigator::Refresh() {
    if (!m_tree.topLevelItem(0)) {
        PokazMnieTvw();
        return;
    }
    const QString rootText = m_tree.topLevelItem(0)->text(0);
    QList<std::int32_t> open; // parents before their children
    for (QTreeWidgetItemIterator it(&m_tree); *it; ++it)
        if ((*it)->isExpanded())
            open << NodeTag(*it);
    const std::optional<std::int32_t> current =
        m_tree.currentItem() ? std::optional(NodeTag(m_tree.currentItem())) : std::nullopt;

    m_tree.clear();
    auto* root = MakeNode(QStringLiteral("P"), rootText, QStringLiteral("skool"), kRootTag);
    m_tree.addTopLevelItem(root);
    root->addChild(MakeNode(QStringLiteral("S"), GetText(3171), QStringLiteral("start"), kStartTag));
    restoreOpenNodes(open << kStartTag);
    if (current)
        if (QTreeWidgetItem* node = ZnajdzNoda(*current))
            m_tree.setCurrentItem(node);
}

void TreeNavigator::restoreOpenNodes(const QList<std::int32_t>& open) {
    addChildren(ZnajdzNoda(kStartTag));
    for (const std::int32_t tag : open)
        if (QTreeWidgetItem* node = ZnajdzNoda(tag)) {
            addChildren(node);
            node->setExpanded(true);
        }
}

void TreeNavigator::SetRootText(const QString& text) {
    if (QTreeWidgetItem* root = m_tree.topLevelItem(0))
        root->setText(0, text);
}

// ---- the node click ----

void TreeNavigator::tvwNodes_NodeClick(QTreeWidgetItem* node) {
    if (!node)
        return;
    const std::int32_t k = NodeTag(node);
    if (m_tree.currentItem() != node)
        m_tree.setCurrentItem(node);
    addChildren(node);
    select(k);
    if (k == kRootTag) {
        m_editor.setControlEnabled(QStringLiteral("cmdPaste(1)"), false);
        select(0);
    } else {
        const bool full = m_editor.editor().clipboardFull && m_editor.editor().clipboardFull();
        m_editor.setControlEnabled(QStringLiteral("cmdPaste(1)"), full);
    }
    GraphEditor& g = m_editor.editor();
    g.MovePointer();
    g.Udostepniaj(g.lngSelectedTrack);
    node->setExpanded(true);
}

void TreeNavigator::ClickSelectedNode() {
    if (QTreeWidgetItem* node = m_tree.currentItem())
        tvwNodes_NodeClick(node);
}

// ---- changes made elsewhere ----

void TreeNavigator::TrackChanged(std::int32_t number) {
    if (!treeShown())
        return;
    QTreeWidgetItem* node = ZnajdzNoda(number);
    const auto track = TrackByNumber(m_editor.tracks(), number);
    if (!node || !track || number <= 0)
        return;
    node->setText(0, track->strLabel);
    const QString image = NodeImageKey(node);
    if (track->blnZablokowany)
        SetImage(node, QStringLiteral("blok"));
    else if (image == QLatin1String("blok"))
        SetImage(node, RestingImage(*track));
}

void TreeNavigator::TrackRelinked(std::int32_t number) {
    QTreeWidgetItem* node = ZnajdzNoda(number);
    const auto track = TrackByNumber(m_editor.tracks(), number);
    if (!node || number <= 0)
        return;
    QTreeWidgetItem* parent = nullptr;
    if (track)
        parent = track->lngTrack == number ? m_tree.topLevelItem(0) : ZnajdzNoda(track->lngTrack);
    QTreeWidgetItem* old = node->parent();
    // The node moves with what is open under it; where its new place is not
    // shown (or lies inside it: a loop of links), it comes back when its new
    // predecessor is opened.
    if (parent && parent != old && !isInside(parent, node) && parent->isExpanded()) {
        old->removeChild(node);
        parent->addChild(node);
    } else if (parent != old) {
        delete node;
    }
    if (old && old->childCount() == 0)
        old->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
    if (parent && parent != old && parent->childCount() == 0)
        parent->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
}

void TreeNavigator::TrackDeleted(std::int32_t number) {
    QTreeWidgetItem* node = ZnajdzNoda(number);
    if (!node || number <= 0 || !node->parent())
        return;
    QTreeWidgetItem* parent = node->parent();
    // Its successors now follow its predecessor: their nodes move up with
    // everything open under them.
    const QList<QTreeWidgetItem*> children = node->takeChildren();
    for (QTreeWidgetItem* child : children)
        parent->addChild(child);
    if (WezelDrag == number)
        WezelDrag.reset();
    if (m_highlight == number)
        m_highlight.reset();
    delete node;
}

void TreeNavigator::TrackAdded(const cPozycjaMP3& track) {
    const std::int32_t n = track.lngNrPozycji;
    if (n <= 0 || ZnajdzNoda(n))
        return;
    // Under its predecessor, when that is shown; otherwise it comes when its
    // predecessor is opened.
    QTreeWidgetItem* parent = track.lngTrack == n ? m_tree.topLevelItem(0) : ZnajdzNoda(track.lngTrack);
    if (parent)
        addNode(parent, track);
}

void TreeNavigator::SetTrackImage(std::int32_t number, const QString& key) {
    if (QTreeWidgetItem* node = ZnajdzNoda(number); node && number > 0)
        SetImage(node, key);
}


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
    if (key == Qt::Key_Plus && (modifiers & Qt::KeypadModifier) && addEnabled && addEnabled() && addTrack)
        addTrack();
}

void TreeNavigator::DoubleClick() {
    QTreeWidgetItem* node = m_tree.currentItem();
    if (!node)
        return;
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
    if (tag == kStartTag) {
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
    m_editor.editor().MovePointer();
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
    // A move deletes, so it follows the delete button (off while the export
    // dialog holds the tracks).
    if (g.deleteEnabled && !g.deleteEnabled())
        return;
    if (!TrackByNumber(m_editor.tracks(), dragged))
        return;
    m_commands.CopyToClipboard(dragged);
    select(target < 0 ? 0 : target);

    if (QTreeWidgetItem* node = ZnajdzNoda(target)) {
        m_tree.setCurrentItem(node);
        // The original goes only when the copy stands: a paste that fails or
        // is cancelled leaves the track where it was (and in the clipboard).
        struct Move {
            bool waiting = true;
            bool placed = false;
        };
        auto move = std::make_shared<Move>();
        QPointer<TreeNavigator> self(this);
        Shared().SuppressTrackNumbering = true; // the moved track keeps its name
        m_commands.PasteAsNewTrack([move, self, dragged](const QList<std::int32_t>& added) {
            if (added.isEmpty())
                return;
            if (move->waiting) {
                move->placed = true;
            } else if (self) {
                QTimer::singleShot(0, self, [self, dragged] {
                    if (self)
                        self->m_commands.DeleteTrack(dragged);
                });
            }
        });
        move->waiting = false;
        Shared().SuppressTrackNumbering = false; // a paste that did not run must not keep it
        if (move->placed)
            m_commands.DeleteTrack(dragged);
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
    const bool onTree = watched == m_tree.viewport();
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
