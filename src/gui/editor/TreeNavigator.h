#pragma once
// The track tree (tvwNodes), a second view of the track graph. Under the
// project root stands the start node with the tracks that follow the start,
// each track under its predecessor; detached tracks, and the first track of
// every chain that does not begin at the start (a ring of links included),
// stand directly under the root. The tree fills lazily: a node's successors
// are added when the node is clicked, expanded or hovered during a drag, and
// a track is never listed twice. A node's tag (Qt::UserRole) is its only link to the model: -1 the
// root, 0 the start, n the track numbered n.
//
// A track node dragged onto another node, or onto a box of the drawing
// surface, moves its track there: a copy is pasted as a new track while the
// target is selected, and the original goes only once the split dialog has
// added the copy, so a move that does not happen loses nothing.

#include "EditorPartners.h"

#include <QObject>
#include <QPoint>
#include <QSet>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

class QIcon;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace kelbrin {

class EditorController;
class TrackCommandSet;
class cPozycjaMP3;
class cPozycjeMP3;
struct MainMenus;

// The add button (cmdDodaj), which the numeric keypad's plus runs while it is enabled.
class TrackAddButton {
public:
    virtual ~TrackAddButton() = default;
    virtual bool AddEnabled() const = 0;
    virtual void AddTrack() = 0;
};

class TreeNavigator : public QObject, public TrackTreeUpdates {
    Q_OBJECT
public:
    TreeNavigator(QTreeWidget& tree, EditorController& editor, TrackCommandSet& commands,
                  const MainMenus* menus, QObject* parent = nullptr);

    // False when the tree control could not be cleared at load; the View
    // menu's Tree item then refuses.
    bool treeWorks = true;
    // The window's copy of the selected track number follows the tree.
    std::function<void(std::int32_t)> selectionChanged;
    // The add button the keypad's plus runs (none: the plus does nothing).
    void setAddButton(TrackAddButton* button) { m_addButton = button; }

    // The images by key: "skool", "start", "stop", "blok", "play", "pause".
    static QIcon NodeImage(const QString& key);
    static std::int32_t NodeTag(const QTreeWidgetItem* node);
    static QString NodeKey(const QTreeWidgetItem* node);
    static QString NodeImageKey(const QTreeWidgetItem* node);
    // The information line shown while the pointer is over a track's node.
    static QString InfoText(const cPozycjaMP3& track);

    // The View menu's Tree item: switches the tree on (and rebuilds it) or off.
    void mnuView_Tree_Click();
    bool treeShown() const;
    // The root and the start node, with the tracks that follow the start and
    // the detached ones; the start node is selected.
    void PokazMnieTvw();
    // The same tree again after the collection changed under it: nodes that
    // were open are opened again; the selected track's node is highlighted.
    void Refresh() override;
    void tvwNodes_NodeClick(QTreeWidgetItem* node);
    // Runs the node click for the selected node, when there is one.
    void ClickSelectedNode();
    QTreeWidgetItem* ZnajdzNoda(std::int32_t tag) const;
    void SetRootText(const QString& text);
    // Moves the dragged track after track `target` (0 the start, -1 the root).
    void Upusc(std::int32_t target);

    // What other parts tell the tree about a track.
    void TrackChanged(std::int32_t number) override;  // label or lock
    void TrackRelinked(std::int32_t number) override; // new predecessor
    void TrackDeleted(std::int32_t number) override;  // gone; its successors moved up
    void TrackAdded(const cPozycjaMP3& track);
    void SetTrackImage(std::int32_t number, const QString& key); // the player's "play", "pause", "stop"

    // The tree's events; the event filter calls them and tests call them directly.
    void KeyUp(int key, Qt::KeyboardModifiers modifiers);
    void DoubleClick();
    void MouseUpRight(QTreeWidgetItem* node, QPoint at);
    void MouseMove(QTreeWidgetItem* node);
    void DragStart(QTreeWidgetItem* node);
    void DragOver(QTreeWidgetItem* node);
    void Drop();
    void DragComplete();
    // A node let go over the drawing surface, at a point in twips.
    void SurfaceDrop(QPoint twips);

    // The dragged node's tag, from the start of a drag to its end.
    std::optional<std::int32_t> WezelDrag;
    std::optional<std::int32_t> dropHighlight() const { return m_highlight; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTreeWidgetItem* addNode(QTreeWidgetItem* parent, const cPozycjaMP3& track);
    QTreeWidgetItem* addNode(QTreeWidgetItem* parent, const cPozycjaMP3& track,
                             const QSet<std::int32_t>& predecessors);
    // The numbers tracks name as their predecessor (their own excepted).
    static QSet<std::int32_t> predecessorsOf(const cPozycjeMP3& tracks);
    void addChildren(QTreeWidgetItem* node);
    void select(std::int32_t number);
    void runDrag(QTreeWidgetItem* node);
    bool isInside(const QTreeWidgetItem* node, const QTreeWidgetItem* ancestor) const;
    void restoreOpenNodes(const QList<std::int32_t>& open);
    void moveNode(std::int32_t number);
    void removeNode(std::int32_t number);
    // Rebuilds the tree when the tracks under the root are no longer those
    // the links put there.
    void keepRootTracks();

    QTreeWidget& m_tree;
    // Kept from the start: the viewport's last events come while the tree is
    // already half destroyed, when asking the tree for it is no longer valid.
    QWidget* const m_treeViewport;
    EditorController& m_editor;
    TrackCommandSet& m_commands;
    const MainMenus* m_menus;
    TrackAddButton* m_addButton = nullptr;
    std::optional<std::int32_t> m_highlight;
    QPoint m_pressAt;
    QTreeWidgetItem* m_pressed = nullptr;
};

} // namespace kelbrin
