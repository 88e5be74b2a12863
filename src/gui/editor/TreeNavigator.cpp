#include "TreeNavigator.h"

#include "EditorController.h"
#include "KeyMovedCurrent.h"
#include "TrackCommandSet.h"
#include "TrackSurface.h"
#include "core/app/MessageService.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjeMP3.h"
#include "core/editor/TrackGraph.h"
#include "core/editor/TreeRoots.h"
#include "gui/app/ProgramIcons.h"
#include "gui/mainwindow/MainMenus.h"

#include <QAction>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>

namespace kelbrin {

namespace {

constexpr int kKeyRole = Qt::UserRole + 1;
constexpr int kImageRole = Qt::UserRole + 2;

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

} // namespace

TreeNavigator::TreeNavigator(QTreeWidget& tree, EditorController& editor, TrackCommandSet& commands,
                             const MainMenus* menus, QObject* parent)
    : QObject(parent), m_tree(tree), m_treeViewport(tree.viewport()), m_editor(editor), m_commands(commands), m_menus(menus) {
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
    // A node reached with the keys is clicked, so that the track commands
    // act on the track the tree highlights.
    new KeyMovedCurrent(m_tree, [this](QTreeWidgetItem* node) { tvwNodes_NodeClick(node); }, this);
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
    return addNode(parent, track, predecessorsOf(m_editor.tracks()));
}

QSet<std::int32_t> TreeNavigator::predecessorsOf(const cPozycjeMP3& tracks) {
    QSet<std::int32_t> numbers;
    for (std::int32_t i = 1; i <= tracks.Count(); ++i) {
        const cPozycjaMP3& t = *tracks.Item(i);
        if (t.lngTrack != t.lngNrPozycji)
            numbers.insert(t.lngTrack);
    }
    return numbers;
}

QTreeWidgetItem* TreeNavigator::addNode(QTreeWidgetItem* parent, const cPozycjaMP3& track,
                                        const QSet<std::int32_t>& predecessors) {
    const std::int32_t n = track.lngNrPozycji;
    QTreeWidgetItem* node =
        MakeNode(QString::number(n) + QLatin1Char('N'), track.strLabel, RestingImage(track), n);
    // A track with successors shows that it can be opened before they are added.
    if (predecessors.contains(n))
        node->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    parent->addChild(node);
    return node;
}

void TreeNavigator::addChildren(QTreeWidgetItem* node) {
    QTreeWidgetItem* root = m_tree.topLevelItem(0);
    if (!node || !root)
        return;
    const std::int32_t k = NodeTag(node);
    const cPozycjeMP3& tracks = m_editor.tracks();
    // The tree and the tracks are each looked through once: a project of
    // thousands of tracks opens at once, not after a look through the whole
    // tree for every one of them.
    QSet<std::int32_t> shown;
    for (QTreeWidgetItemIterator it(&m_tree); *it; ++it)
        shown.insert(NodeTag(*it));
    const QSet<std::int32_t> predecessors = predecessorsOf(tracks);
    for (const std::int32_t n : TreeRootTracks(tracks))
        if (!shown.contains(n)) {
            addNode(root, *TrackByNumber(tracks, n), predecessors);
            shown.insert(n);
        }
    if (k < 0)
        return;
    for (std::int32_t i = 1; i <= tracks.Count(); ++i) {
        const cPozycjaMP3& t = *tracks.Item(i);
        if (t.lngTrack == k && t.lngNrPozycji != k && !shown.contains(t.lngNrPozycji)) {
            addNode(node, t, predecessors);
            shown.insert(t.lngNrPozycji);
        }
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
    std::optional<std::int32_t> current;
    if (m_tree.currentItem())
        current = NodeTag(m_tree.currentItem());

    m_tree.clear();
    auto* root = MakeNode(QStringLiteral("P"), rootText, QStringLiteral("skool"), kRootTag);
    m_tree.addTopLevelItem(root);
    root->addChild(MakeNode(QStringLiteral("S"), GetText(3171), QStringLiteral("start"), kStartTag));
    restoreOpenNodes(open << kStartTag);
    // The highlight follows the editor's selection, which an undo or redo
    // has moved to the start; the root stays highlighted over the start.
    const std::int32_t selected = m_editor.editor().lngSelectedTrack;
    QTreeWidgetItem* node = nullptr;
    if (!(current == kRootTag && selected == kStartTag))
        node = ZnajdzNoda(selected);
    if (!node && current)
        node = ZnajdzNoda(*current);
    if (node)
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
        const bool full = m_editor.editor().clipboardFull();
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
    moveNode(number);
    keepRootTracks();
}

void TreeNavigator::moveNode(std::int32_t number) {
    QTreeWidgetItem* node = ZnajdzNoda(number);
    const auto track = TrackByNumber(m_editor.tracks(), number);
    if (!node || number <= 0)
        return;
    QTreeWidgetItem* parent = nullptr;
    if (track)
        parent = track->lngTrack == number ? m_tree.topLevelItem(0) : ZnajdzNoda(track->lngTrack);
    QTreeWidgetItem* old = node->parent();
    if (parent == old)
        return;
    // The node moves with what is open under it; where its new place is not
    // shown (or lies inside it: a loop of links), it comes back when its new
    // predecessor is opened.
    const bool placeShown = parent && !isInside(parent, node);
    if (placeShown && parent->isExpanded()) {
        old->removeChild(node);
        parent->addChild(node);
    } else {
        delete node;
        // The closed predecessor has a successor now: it shows it can be opened.
        if (placeShown)
            parent->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    }
    if (old->childCount() == 0)
        old->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

void TreeNavigator::TrackDeleted(std::int32_t number) {
    removeNode(number);
    keepRootTracks();
}

void TreeNavigator::removeNode(std::int32_t number) {
    if (WezelDrag == number)
        WezelDrag.reset();
    if (m_highlight == number)
        m_highlight.reset();
    QTreeWidgetItem* node = ZnajdzNoda(number);
    if (!node || number <= 0 || !node->parent())
        return;
    QTreeWidgetItem* parent = node->parent();
    // The deleted track's highlight goes to the start, which the editor
    // selects after a deletion, not to whichever node takes its row.
    if (m_tree.currentItem() == node)
        m_tree.setCurrentItem(ZnajdzNoda(kStartTag));
    // Its successors now follow its predecessor: their nodes move up with
    // everything open under them.
    const QList<QTreeWidgetItem*> children = node->takeChildren();
    for (QTreeWidgetItem* child : children)
        parent->addChild(child);
    delete node;
}

void TreeNavigator::keepRootTracks() {
    QTreeWidgetItem* root = m_tree.topLevelItem(0);
    if (!root)
        return;
    // A link that closes a ring takes the ring's nodes away with the moved
    // node, and one that opens a ring leaves its first track under the root:
    // the tree is built again, keeping what was open.
    QList<std::int32_t> shown;
    for (int i = 0; i < root->childCount(); ++i)
        if (const std::int32_t tag = NodeTag(root->child(i)); tag > 0)
            shown.append(tag);
    QList<std::int32_t> wanted = TreeRootTracks(m_editor.tracks());
    std::sort(shown.begin(), shown.end());
    std::sort(wanted.begin(), wanted.end());
    if (shown != wanted)
        Refresh();
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

} // namespace kelbrin
