#pragma once
// The track graph editor's state and gestures, without widgets: selecting,
// dragging and linking boxes, link mode, and which track commands are
// enabled. The drawing surface feeds it mouse events in twips and paints what
// it holds; the list feeds it row gestures; the main window fills the host
// with what lies outside the editor (menus, the track panel, the split
// dialog, the undo buttons).
//
// The editor holds no fact of the model: box centres, links, labels and
// colours are read from the track collection whenever they are needed. It only
// holds the view's own state: the start box, the selection, link mode, the
// drag outline and the rubber band.

#include "PlayRun.h"
#include "TrackCommandState.h"
#include "TrackGraph.h"
#include "UndoHistory.h"

#include <QHash>
#include <QPoint>
#include <QRect>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace kelbrin {

class cPozycjaMP3;
class cPozycjeMP3;

namespace mouse {
enum Button : int { None = 0, Left = 1, Right = 2, Middle = 4 };
}

// The enabled state of every track command, by control name.
using CommandStates = QHash<QString, bool>;

// What the editor asks of the window around it.
class GraphEditorHost {
public:
    virtual ~GraphEditorHost() = default;
    // TworzUndo (False, False): take one snapshot of the collection now.
    virtual void TworzUndo() = 0;
    // The pop-up menus of a box and of a loop line.
    virtual void showTrackMenu() = 0;
    virtual void showLoopMenu() = 0;
    // The track panel for a track (TrackPanel::PokazMnie_FA). Properties commands and
    // double-clicks on a track are offered only while canOpenProperties()
    // holds, that is while a track panel is there to show the track.
    virtual void openProperties(std::shared_ptr<cPozycjaMP3> track) = 0;
    virtual bool canOpenProperties() const = 0;
    // The add command: a new track through the split dialog.
    virtual void addTrack() = 0;
    // The fade editor for the transition ending -> starting.
    // The fade command is offered only while canOpenFadeEditor() holds.
    virtual void openFadeEditor(std::shared_ptr<cPozycjaMP3> ending,
                                std::shared_ptr<cPozycjaMP3> starting) = 0;
    virtual bool canOpenFadeEditor() const = 0;
    // Command states changed (Udostepniaj and the link-mode changes).
    virtual void applyCommandStates(const CommandStates& states) = 0;
    // The hover information (lblTrackInfo); CR marks a line break.
    virtual void showHoverText(const QString& text) = 0;
    // A track's links changed: its tree node moves under its new predecessor.
    virtual void trackLinkChanged(std::int32_t number) = 0;
    // Something the surface shows changed.
    virtual void update() = 0;
};

class GraphEditor {
public:
    using TracksGetter = std::function<cPozycjeMP3*()>;
    GraphEditor(TracksGetter tracks, GraphEditorHost& host);

    cPozycjeMP3& tracks() const { return *m_tracks(); }

    // --- the surface's own elements (twips) ---
    int nodeSize() const { return m_nodeSize; }
    void setNodeSize(int size);
    QRect startBox() const { return m_startBox; }
    QPoint startCentre() const;
    void setStartBoxTopLeft(QPoint topLeft);
    // The box of the track with this number; an empty rect when none.
    QRect boxRect(std::int32_t number) const;
    // The selection pointer (shpSelect): the selected box grown by 5 units.
    QRect selectionRect() const { return m_selectRect; }
    // The drag outline (shpMove), shown while a box is being dragged.
    bool isDragging() const { return m_dragBox >= 0; }
    std::int32_t dragBox() const { return m_dragBox; }
    QRect moveRect() const { return m_moveRect; }
    // The rubber band (Linia) of link mode.
    bool bandVisible() const { return m_linkMode; }
    QPoint bandFrom() const { return QPoint(m_linkX, m_linkY); }
    QPoint bandTo() const { return m_bandTo; }
    std::uint32_t bandColour() const;
    // The lines to paint: every link line but the one being relinked and the
    // lines of a box that is lifted.
    QList<LinkLine> visibleLines() const;
    std::int32_t hoverBox() const { return m_hoverBox; }
    // The box put down by the last drag, whose name label stands one label
    // height above it until the next full repaint; -1 when none.
    std::int32_t droppedBox() const { return m_droppedBox; }
    // A full repaint lays every name label out afresh.
    void fullRepaint();

    // --- state of the mouse gestures ---
    std::int32_t lngSelectedTrack = 0;
    std::int32_t lngCurrentTrack = 0;
    bool linkMode() const { return m_linkMode; }
    bool linkLoop() const { return m_linkLoop; }
    bool hoverInfoShown = true; // the item "mnuTrack_Labelki(2)" is checked
    bool nameLabelsShown = true; // the item "mnuTrack_Labelki(0)" is checked
    int mouseSensitivity = 150;
    // Who keeps the clipboard and the hold on deletions (none: the
    // clipboard is empty and deletion never held back).
    void setCommandState(const TrackCommandState* state) { m_commandState = state; }
    bool clipboardFull() const { return m_commandState && m_commandState->clipboardFull(); }
    bool deleteAllowed() const { return !m_commandState || m_commandState->deleteAllowed(); }
    PlayRunState run;

    // --- gestures, coordinates in twips ---
    void mouseDown(int button, int shift, QPoint p);
    void mouseMove(int buttons, int shift, QPoint p);
    void mouseUp(int button, int shift, QPoint p);
    void doubleClick();
    // The last mouse position (sngMouseX, sngMouseY), which the double-click reads.
    void rememberMouse(QPoint p) { m_mouse = p; }
    void SelectTrackBox(std::int32_t index, int button, int shift, QPoint p);
    void LinkOrDrop(std::int32_t index, int button, int shift, QPoint p);
    void OpenFromBox(std::int32_t index);
    // Whether a double-click on this box (or its row or node) does anything:
    // the start box adds a track; a track's box needs the track panel.
    bool canOpenFromBox(std::int32_t index) const;
    // Leaves link mode without a link (Esc or a right click): the link and the
    // line that a line click took away come back, so model and drawing agree.
    void cancelLinkMode();

    // --- services the track commands offer the other windows ---
    void MovePointer();
    void Udostepniaj(std::int32_t number);
    void DrawRubberBand(QPoint p);
    // Connect and add a loop: link mode from the selected track. A link
    // still pending is given up first, its taken successor entry restored.
    void startLink(bool loop);
    // The states Udostepniaj would set for this number: the 25 commands of a
    // track, and the properties and delete buttons.
    CommandStates commandStatesFor(std::int32_t number) const;
    // After an undo or redo: no selection, no drag, no link mode.
    void resetSelection();

private:
    void enterLinkMode(std::int32_t position, bool loop, QPoint bandEnd);
    void leaveLinkMode();
    void lift(std::int32_t index, QPoint p);
    void putDown(std::int32_t index, QPoint p);
    void describeHover(QPoint p);
    std::int32_t hit(QPoint p) const;

    TracksGetter m_tracks;
    GraphEditorHost& m_host;
    const TrackCommandState* m_commandState = nullptr;
    int m_nodeSize = kDefaultNodeSize;
    QRect m_startBox{300, 300, kDefaultNodeSize, kDefaultNodeSize};
    QRect m_selectRect;
    bool m_linkMode = false;
    bool m_linkLoop = false;
    std::int32_t m_linkX = 0, m_linkY = 0;
    QPoint m_bandTo;
    std::int32_t m_dragBox = -1;
    QRect m_moveRect;
    QPoint m_mouse;
    std::int32_t m_hoverBox = -1;
    std::int32_t m_droppedBox = -1;
    // The line a line click took away while link mode waits, and the
    // successor entry it removed (predecessor position, successor position).
    std::optional<LinkLine> m_relinkedLine;
    // (predecessor number, successor number).
    std::optional<std::pair<std::int32_t, std::int32_t>> m_removedSuccessor;
};

} // namespace kelbrin
